// The bands and size files: band acceptance, sorting, truncation, the
// header and terminator lines, and the -v debugging lines.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "projectBuilder.h"
#include "zeStep.h"

using namespace zetest;

TEST(BandSort, AscendingWithNaNEqualToEverything) {
    float a = 1.5f, b = 2.5f, nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(bandSort(&a, &b), -1);
    EXPECT_EQ(bandSort(&b, &a), 1);
    EXPECT_EQ(bandSort(&a, &a), 0);
    EXPECT_EQ(bandSort(&a, &nan), 0);
    EXPECT_EQ(bandSort(&nan, &a), 0);

    dp_Accum<float> values;
    for (float v : {3.0f, -1.0f, 101.7f, 101.2f, 0.0f})
        values.append(v);
    values.sort(bandSort);
    EXPECT_EQ(values(0), -1.0f);
    EXPECT_EQ(values(1), 0.0f);
    EXPECT_EQ(values(2), 3.0f);
    EXPECT_EQ(values(3), 101.2f);
    EXPECT_EQ(values(4), 101.7f);
}

namespace {

// Two lanes, one dye: lane 0 maps gel g to 32 g over 0 .. 128, lane 1 to
// 32 (g - 64) over 64 .. 192 (both exact in float); margins 0.64.
ProjectFiles twoLaneProject(const ProjectShape& p, const std::vector<BandRecord>& bands) {
    ProjectFiles f;
    f.info = infoText(p);
    f.rawBands = rawBandsText(bands);
    f.traces = tracesText(p, TraceBody(p));
    f.normFac = normFacText(p, {{{0, 0}, {4096, 128}}, {{0, 64}, {4096, 192}}});
    f.names = namesText({nameEntry(0, "+", "c1 x", "d"), nameEntry(1, "+", "c2", "d")});
    return f;
}

} // namespace

TEST(BandsFile, AcceptedPositionsSortedAndTruncated) {
    TempDir dir;
    ProjectShape p;
    writeProject(dir.path(), twoLaneProject(p, {
                                                   {0, 50},        // 1600
                                                   {0, 3.178125},  // 101.7
                                                   {0, -0.015625}, // -0.5: dropped
                                                   {1, 100},       // 1152
                                                   {0, 3.1625},    // 101.2
                                                   {5, 10},        // no such sample
                                                   {0, 0.028125},  // 0.9
                                                   {0, 0},         // 0
                                                   {1, 64},        // 0
                                                   {-1, 10},       // no such sample
                                                   {0, 200},       // outside the lane
                                                   {0, 10, 2},     // kind 2
                                                   {1, 63.5},      // -16: dropped
                                                   {0, 128.5},     // 4112, in the margin
                                                   {1, 70.015625}, // 192.5
                                                   {1, 63.35},     // outside the lane
                                               }));
    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readFile(dir / "17.bands"), "         c1_x 6 17\n0\n0\n101\n101\n1600\n4112\n-1\n"
                                          "         c2 3 17\n0\n192\n1152\n-1\n");
    EXPECT_FALSE(fileExists(dir / "17.sizes"));
    EXPECT_TRUE(linesStartingWith(r.out, "@@").empty());
    EXPECT_EQ(linesStartingWith(r.out, "Emit normalised bands").size(), 1u);
}

TEST(BandsFile, SamplesWithoutClonesAndWithoutAcceptedBands) {
    TempDir dir;
    ProjectShape p;
    p.lanes = 3;
    p.markerRepeat = 2; // lane 1 lies between the marker lanes 0 and 2
    ProjectFiles f;
    f.info = infoText(p);
    // Lane 1 is interpolated, so its positions are kept off whole numbers.
    f.rawBands = rawBandsText(
        {{0, 10, 0}, {0, 300}, {1, 10.515625}, {2, 1}, {2, 4.5}, {1, 2.015625}, {2, 3.5}});
    f.traces = tracesText(p, TraceBody(p));
    f.normFac = normFacText(p, linearCalibration(32, 128));
    f.names = namesText(
        {nameEntry(0, "+", "a", "d"), nameEntry(1, "+", "b", "d"), nameEntry(2, "-", "c", "d")});
    writeProject(dir.path(), f);

    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(dir / "17.bands"), "         a 0 17\n-1\n"
                                          "         b 2 17\n64\n336\n-1\n");
}

TEST(BandsFile, DyesShareTheFactorsOfTheirLane) {
    TempDir dir;
    ProjectShape p;
    p.lanes = 3;
    p.dyes = 2;
    p.markerRepeat = 2;
    ProjectFiles f;
    f.info = infoText(p);
    f.rawBands = rawBandsText({{0, 1}, {1, 5}, {4, 100}, {5, 2}, {5, 70.015625}});
    f.traces = tracesText(p, TraceBody(p));
    f.normFac = normFacText(p, {{{0, 0}, {4096, 128}}, {{0, 64}, {4096, 192}}});
    f.names = namesText({nameEntry(0, "+", "a", "d"), nameEntry(0, "-", "x", "y"),
                         nameEntry(1, "-", "x", "y"), nameEntry(1, "-", "x", "y"),
                         nameEntry(2, "+", "b", "d"), nameEntry(2, "+", "a", "d")});
    writeProject(dir.path(), f);

    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    // Same clone name twice: two blocks with the same header text.
    EXPECT_EQ(readFile(dir / "17.bands"), "         a 1 17\n32\n-1\n"
                                          "         b 1 17\n1152\n-1\n"
                                          "         a 1 17\n192\n-1\n");
}

TEST(BandsFile, VerboseLineForEveryKindOneBandOfANamedSample) {
    TempDir dir;
    ProjectShape p;
    ProjectFiles f = twoLaneProject(
        p, {{0, 50}, {0, -0.015625}, {0, 200}, {0, 10, 2}, {0, 128.5}, {0, 3.5}, {1, 80}});
    f.names = namesText({nameEntry(0, "+", "a", "d"), nameEntry(1, "-", "b", "d")});
    writeProject(dir.path(), f);

    RunResult r = runStep(dir.path(), "map", true);
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<std::string> expected = {"@@0 50 1600 0 128", "@@0 -0.015625 -0.5 0 128",
                                         "@@0 200 -9999 0 128", "@@0 128.5 4112 0 128",
                                         "@@0 3.5 112 0 128"};
    EXPECT_EQ(linesStartingWith(r.out, "@@"), expected);
    EXPECT_EQ(readFile(dir / "17.bands"), "         a 3 17\n112\n1600\n4112\n-1\n");
}

TEST(BandsFile, BandsFileThatCannotBeCreatedEndsTheStep) {
    TempDir dir;
    ProjectShape p;
    writeProject(dir.path(), twoLaneProject(p, {{0, 1}}));
    run("/bin/mkdir", {dir / "17.bands"});

    RunResult r = run(zeStep5Path(), {dir.path(), "map", dir.path(), "again"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: opening bands file\nERROR: opening bands file\n");
    EXPECT_TRUE(fileExists(dir / "again.17.gel")); // the next step still ran
}

namespace {

// Lanes 0 .. 3, each its own marker lane with standard = 32 x gel over
// 0 .. 128 and two size pairs at gel 0 and 128. With two pairs the size
// spline is a straight line in log size: at gel g the size is
// size0^(1 - g/128) x size128^(g/128).
ProjectFiles sizedProject(const ProjectShape& p) {
    ProjectFiles f;
    f.info = infoText(p);
    f.rawBands = rawBandsText({
        {0, 64},    // 2048, sqrt(1000.5 x 10.5) = 102.495
        {0, 0},     // 0, 1000.5
        {0, 128},   // 4096, 10.5
        {0, 128.5}, // 4112, 10.315 (extended)
        {0, 30, 0}, // kind 0
        {1, 120},   // size 0.696: dropped from both lists
        {1, 96},    // 3072, 100.5^0.25 x 0.5^0.75 = 1.883
        {1, 0},     // 0, 100.5
        {1, 128},   // size 0.5: dropped
        {1, 32},    // 1024, 100.5^0.75 x 0.5^0.25 = 26.69
        {1, 64},    // 2048, sqrt(100.5 x 0.5) = 7.089
        {2, 300},   // outside the lane
        {2, 5, 2},  // kind 2
        {3, 64},    // no clone
    });
    f.traces = tracesText(p, TraceBody(p));
    std::vector<CalPair> sameSize = {{0, 0, 50.5}, {4096, 128, 50.5}};
    f.normFac = normFacText(p, {{{0, 0, 1000.5}, {4096, 128, 10.5}},
                                {{0, 0, 100.5}, {4096, 128, 0.5}},
                                sameSize,
                                sameSize});
    f.names = namesText({nameEntry(0, "+", "c0", "d"), nameEntry(1, "+", "c1", "d"),
                         nameEntry(2, "+", "c2", "d"), nameEntry(3, "-", "c3", "d")});
    return f;
}

} // namespace

TEST(SizesFile, SizesSortedIndependentlyAndSmallSizesDroppedFromBoth) {
    TempDir dir;
    ProjectShape p;
    p.lanes = 4;
    writeProject(dir.path(), sizedProject(p));

    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(dir / "17.bands"), "         c0 4 17\n0\n2048\n4096\n4112\n-1\n"
                                          "         c1 4 17\n0\n1024\n2048\n3072\n-1\n"
                                          "         c2 0 17\n-1\n");
    EXPECT_EQ(readFile(dir / "17.sizes"), "         c0 4 17\n10\n10\n102\n1000\n-1\n"
                                          "         c1 4 17\n1\n7\n26\n100\n-1\n"
                                          "         c2 0 17\n-1\n");
}

TEST(SizesFile, EmptyGelNumberNamesTheFiles) {
    TempDir dir;
    ProjectShape p;
    p.lanes = 4;
    p.gelNumber = "";
    writeProject(dir.path(), sizedProject(p));

    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(dir / ".sizes").substr(0, 17), "         c0 4 \n10");
    EXPECT_EQ(readFile(dir / ".bands").substr(0, 16), "         c0 4 \n0");
    EXPECT_TRUE(fileExists(dir / "map..gel"));
}
