// The lane checks: marker blocks out of order, mappings that turn back,
// calibrated ranges beyond the trace; directly and through the page.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "projectBuilder.h"
#include "reportTestSupport.h"
#include "zeLaneChecks.h"

using namespace zetest;

namespace {

// Pairs given as (standard, gel), in file order.
dp_Accum<Coords> pairsOf(const std::vector<std::pair<float, float>>& normGel) {
    dp_Accum<Coords> pairs;
    for (const auto& p : normGel)
        pairs.append(Coords{p.first, p.second});
    return pairs;
}

NormFac factorOf(const std::vector<std::pair<float, float>>& normGel, bool spline) {
    dp_Accum<Coords> pairs = pairsOf(normGel);
    NormFac f;
    f.nonlinear = spline;
    f.initFrom(pairs);
    return f;
}

// Natural spline through gel 0, 100, 200, 300 -> standard 0, 3000, 3100,
// 3200. By hand (equal spacing h = 100, natural ends): the second
// derivatives at the inner knots are M1 = -4640/h^2 and M2 = 1160/h^2, so
// on [100, 200] the slope is zero where 2900 A^2 - 1160 A - 286.67 = 0,
// A = (x2 - x) / h = 0.5726: a maximum at gel 142.74. Whole positions
// rise up to 143 and fall from there on.
const std::vector<std::pair<float, float>> OVERSHOOT = {
    {0, 0}, {3000, 100}, {3100, 200}, {3200, 300}};

} // namespace

TEST(ReportPairOrder, RisingBlockIsInOrderForBothMethods) {
    dp_Accum<Coords> p = pairsOf({{0, 0}, {1000, 100}, {2000, 250}, {4000, 400}});
    EXPECT_EQ(firstPairOutOfOrder(p, true), -1);
    EXPECT_EQ(firstPairOutOfOrder(p, false), -1);
}

TEST(ReportPairOrder, ReversedBlockBreaksOnlyTheLinearMethodsRule) {
    dp_Accum<Coords> p = pairsOf({{4000, 400}, {2000, 200}, {0, 0}});
    EXPECT_EQ(firstPairOutOfOrder(p, true), 1);
    EXPECT_EQ(firstPairOutOfOrder(p, false), -1);
}

TEST(ReportPairOrder, SwappedPairIsFoundAtItsIndex) {
    dp_Accum<Coords> p = pairsOf({{0, 0}, {1000, 100}, {3000, 300}, {2000, 200}, {4000, 400}});
    EXPECT_EQ(firstPairOutOfOrder(p, true), 3);
    EXPECT_EQ(firstPairOutOfOrder(p, false), 3);
}

TEST(ReportPairOrder, StandardPositionGoingBackIsFoundEvenWithGelInOrder) {
    dp_Accum<Coords> p = pairsOf({{0, 0}, {2000, 100}, {1000, 200}, {4000, 400}});
    EXPECT_EQ(firstPairOutOfOrder(p, true), 2);
    EXPECT_EQ(firstPairOutOfOrder(p, false), 2);
}

TEST(ReportPairOrder, RepeatedGelPositionIsOutOfOrder) {
    dp_Accum<Coords> p = pairsOf({{0, 0}, {1000, 100}, {2000, 100}});
    EXPECT_EQ(firstPairOutOfOrder(p, true), 2);
    EXPECT_EQ(firstPairOutOfOrder(p, false), 2);
}

TEST(ReportPairOrder, PairThatIsNoNumberIsOutOfOrder) {
    // The reader takes "nan" for a number.
    dp_Accum<Coords> p = pairsOf({{0, 0}, {NAN, 100}, {2000, 200}});
    EXPECT_EQ(firstPairOutOfOrder(p, true), 1);
    EXPECT_EQ(firstPairOutOfOrder(p, false), 1);
}

TEST(ReportPairOrder, SizesFallingAlongTheGelAreInOrder) {
    // Size pairs: log size falls while the gel position rises.
    dp_Accum<Coords> p = pairsOf({{9.8f, 120}, {7.5f, 600}, {4.0f, 1300}});
    EXPECT_EQ(firstPairOutOfOrder(p, false), -1);
}

TEST(ReportMonotony, OvershootingSplineThroughOrderedPairsIsFound) {
    NormFac f = factorOf(OVERSHOOT, true);
    ASSERT_EQ(firstPairOutOfOrder(f.pairs, false), -1);
    Monotony m = mappingMonotony(f);
    EXPECT_FALSE(m.monotone);
    EXPECT_EQ(m.foldAt, 143.0f);
}

TEST(ReportMonotony, StraightLinesAreMonotoneWhicheverWayTheyRun) {
    std::vector<std::pair<float, float>> rising = {{0, 0}, {1000, 100}, {2000, 200}, {4000, 400}};
    std::vector<std::pair<float, float>> falling = {{4000, 0}, {3000, 100}, {2000, 200}, {0, 400}};
    for (bool spline : {false, true}) {
        NormFac up = factorOf(rising, spline), down = factorOf(falling, spline);
        EXPECT_TRUE(mappingMonotony(up).monotone) << spline;
        EXPECT_TRUE(mappingMonotony(down).monotone) << spline;
    }
}

TEST(ReportMonotony, LinearMethodFollowsItsPairsExactly) {
    // Piecewise-linear through a pair that goes back: 0 -> 2000 -> 1000.
    NormFac f = factorOf({{0, 0}, {2000, 100}, {1000, 200}}, false);
    Monotony m = mappingMonotony(f);
    EXPECT_FALSE(m.monotone);
    EXPECT_EQ(m.foldAt, 100.0f);
}

TEST(ReportMonotony, ConstantMappingIsNotMonotone) {
    NormFac f = factorOf({{1000, 0}, {1000, 100}}, false);
    EXPECT_FALSE(mappingMonotony(f).monotone);
}

namespace {

// A project of `lanes` lanes whose marker blocks are given, one sample per
// lane, every sample named, traces of rowLength positions.
struct CheckProject {
    TempDir t;
    std::string dir;
    CheckProject(ProjectShape p, const std::vector<std::vector<CalPair>>& blocks) {
        dir = t / "proj";
        run("/bin/mkdir", {dir});
        TraceBody body(p);
        writeProject(dir, {infoText(p), rawBandsText({}), tracesText(p, body),
                           normFacText(p, blocks), namesForAll(p)});
    }
    std::string report() {
        RunResult r = runReport({dir});
        EXPECT_EQ(r.status, 0) << r.err;
        return readFile(dir + "/report.html");
    }
};

ProjectShape shapeOf(int lanes, int markerRepeat, bool linear, int rowLength) {
    ProjectShape p;
    p.lanes = lanes;
    p.markerRepeat = markerRepeat;
    p.linear = linear;
    p.rowLength = rowLength;
    p.imageWidth = rowLength;
    return p;
}

std::vector<CalPair> calPairs(const std::vector<std::pair<float, float>>& normGel) {
    std::vector<CalPair> pairs;
    for (const auto& p : normGel)
        pairs.push_back({p.first, p.second});
    return pairs;
}

} // namespace

TEST(ReportWarnings, OvershootingSplineIsListedAndHighlighted) {
    CheckProject p(shapeOf(2, 1, false, 400), {calPairs(OVERSHOOT), calPairs(OVERSHOOT)});
    std::string html = p.report();
    EXPECT_EQ(countOf(html, "<li class=\"warning\""), 2);
    EXPECT_EQ(countOf(html, "it turns back at gel 143.0"), 2 * 2); // list and caption
    EXPECT_EQ(countOf(html, "<figure class=\"lane marker warned\""), 2);
    EXPECT_EQ(countOf(html, "pair 1 (standard"), 0);
    EXPECT_EQ(countOf(html, "Interpolated from"), 0); // no lane between markers
}

TEST(ReportWarnings, ReversedMarkerBlockIsListedForItsLaneOnly) {
    std::vector<std::pair<float, float>> rising = {{0, 0}, {2000, 100}, {4000, 200}};
    std::vector<std::pair<float, float>> reversed = {{4000, 200}, {2000, 100}, {0, 0}};
    CheckProject p(shapeOf(3, 2, true, 300), {calPairs(rising), calPairs(reversed)});
    std::string html = p.report();
    EXPECT_NE(html.find("<li class=\"warning\" data-lane=\"2\"><a href=\"#lane-2\">Lane 2: "
                        "calibration pair 1 (standard 2000.00, gel 100.00) is out of order; gel "
                        "and standard positions must both rise.</a></li>"),
              std::string::npos);
    EXPECT_EQ(countOf(html, "<li class=\"warning\" data-lane=\"0\""), 0);
    EXPECT_EQ(countOf(html, "<figure class=\"lane marker warned\" id=\"lane-2\""), 1);
    EXPECT_EQ(countOf(html, "<figure class=\"lane marker\" id=\"lane-0\""), 1);
    // Lane 1 is made from lanes 0 and 2: its caption says so.
    EXPECT_EQ(countOf(html, "Interpolated from marker lane 2, which has warnings."), 1);
}

TEST(ReportWarnings, CalibratedRangeBeyondTheTraceIsListed) {
    CheckProject p(shapeOf(1, 1, true, 200), {calPairs({{0, 0}, {4096, 256}})});
    std::string html = p.report();
    EXPECT_NE(html.find("Lane 0: the calibrated range (gel 0 to 256) reaches beyond the trace "
                        "(gel 0 to 199)"),
              std::string::npos);
    EXPECT_EQ(countOf(html, "<li class=\"warning\""), 1);
}

TEST(ReportWarnings, CleanCalibrationHasNone) {
    CheckProject p(shapeOf(3, 2, true, 200),
                   {calPairs({{0, 0}, {4096, 128}}), calPairs({{0, 2}, {4096, 130}})});
    std::string html = p.report();
    EXPECT_EQ(countOf(html, "<li class=\"warning\""), 0);
    EXPECT_NE(html.find("<p class=\"ok\">No warnings"), std::string::npos);
    EXPECT_EQ(countOf(html, "warned\""), 0);
}

TEST(ReportWarnings, LaneBetweenMarkersThatShareNoStandardRangeIsUncalibrated) {
    // Lane 0 covers standard 0 .. 2000, lane 2 covers 3000 .. 4600: lane 1
    // is interpolated over their common range, which is empty.
    CheckProject p(shapeOf(3, 2, true, 200),
                   {calPairs({{0, 0}, {2000, 100}}), calPairs({{3000, 0}, {4600, 100}})});
    std::string html = p.report();
    EXPECT_NE(html.find("Lane 1: fewer than two calibration pairs (0): the lane has no mapping, "
                        "and every band of it is dropped."),
              std::string::npos);
    EXPECT_EQ(countOf(html, "<li class=\"warning\""), 1);
    EXPECT_EQ(countOf(html, "<figure class=\"lane interpolated warned\" id=\"lane-1\""), 1);
}
