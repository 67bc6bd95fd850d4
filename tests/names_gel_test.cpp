// The names file and the gel file: entry parsing, clone and digest names,
// copy numbers, the gel header, clone lines and resampled trace blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "projectBuilder.h"
#include "zeNames.h"
#include "zeStep.h"
#include "zeTruncate.h"

using namespace zetest;

namespace {

struct Names {
    std::string clone, digest;
};

// The names of the first entry of text, read and split as the step does.
Names namesOf(const std::string& text, int counter = 0) {
    std::istringstream in(text);
    NamesEntry e;
    EXPECT_TRUE(readNamesEntry(in, e)) << text;
    dbString clone, digest;
    splitNames(e.rest, counter, clone, digest);
    return {clone.c_str(), digest.c_str()};
}

std::string gelHeader(const std::string& dir, int samples, int markerRep) {
    return "Version:\t" + dir + "\nUser:\t tester\nGelNo:\t\t 17\nSamples:\t\t " +
           std::to_string(samples) + "\nMarkerRep:\t " + std::to_string(markerRep) +
           "\nBlockSize:\t 4600\nClones:\n";
}

// A block whose lane maps gel position g to standard position 32 (g - g0)
// over 0 .. 4096 and whose middle row is linear in g: byte p is the row
// value at g = g0 + p / 32, truncated, and beyond 4096 the value at 4096.
// The lane may end before 4096 (at last).
std::string linearBlock(double valueAtStart, double slope, int last = 4096) {
    std::string b(4600, '\0');
    for (int p = 0; p < 4600; p++) {
        double at = p <= last ? p : last;
        b[p] = (char)(unsigned char)(int)(valueAtStart + slope * at / 32.0);
    }
    return b;
}

} // namespace

TEST(NamesEntries, QuotedCloneAndDigest) {
    std::istringstream in("7 + \"c12 x\" \"dg1\"\n8");
    NamesEntry e;
    ASSERT_TRUE(readNamesEntry(in, e));
    EXPECT_EQ(e.lane, 7);
    EXPECT_STREQ(e.status.c_str(), "+");
    EXPECT_STREQ(e.rest.c_str(), "c12 x\" \"dg1");
    dbString clone, digest;
    splitNames(e.rest, 0, clone, digest);
    EXPECT_STREQ(clone.c_str(), "c12_x");
    EXPECT_STREQ(digest.c_str(), "dg1");
    int next;
    in >> next;
    EXPECT_EQ(next, 8); // the line end was consumed, nothing more
}

TEST(NamesEntries, CarriageReturnAndMissingLineEndLoseTheirLastCharacterInstead) {
    Names cr = namesOf("7 + \"c12 x\" \"dg1\"\r\n");
    EXPECT_EQ(cr.clone, "c12_x");
    EXPECT_EQ(cr.digest, "dg1");
    Names last = namesOf("7 + \"c12 x\" \"dg1\"");
    EXPECT_EQ(last.clone, "c12_x");
    EXPECT_EQ(last.digest, "dg1");
}

TEST(NamesEntries, EmptyRestGivesUnnamedWithTheCounter) {
    Names a = namesOf("3 + \"\"\n", 4);
    EXPECT_EQ(a.clone, "unnamed_4");
    EXPECT_EQ(a.digest, "digest");
    Names b = namesOf("3 + x\n", 5);
    EXPECT_EQ(b.clone, "unnamed_5");
    EXPECT_EQ(b.digest, "digest");
}

TEST(NamesEntries, QuoteCountingSplit) {
    Names empty = namesOf("4 + \"\" \"dg\"\n");
    EXPECT_EQ(empty.clone, "");
    EXPECT_EQ(empty.digest, "dg");
    Names unquoted = namesOf("5 + abc def/g\n"); // 'a' is the discarded character
    EXPECT_EQ(unquoted.clone, "bc_def_");
    EXPECT_EQ(unquoted.digest, "");
    Names slash = namesOf("5 + \"a/b c\td\" \"e f\"\n");
    EXPECT_EQ(slash.clone, "a_b_c\td");
    EXPECT_EQ(slash.digest, "e_f");
    Names third = namesOf("5 + \"a\" \"b\" \"c\"\n");
    EXPECT_EQ(third.clone, "a");
    EXPECT_EQ(third.digest, "b");
}

TEST(NamesEntries, NamesOfAnyLength) {
    std::string longClone(3000, 'k'), longDigest(700, 'g');
    Names n = namesOf("1 + \"" + longClone + "\" \"" + longDigest + "\"\n");
    EXPECT_EQ(n.clone, longClone);
    EXPECT_EQ(n.digest, longDigest);
}

TEST(NamesEntries, UnreadableEntries) {
    NamesEntry e;
    std::istringstream text("x + \"a\" \"b\"\n");
    EXPECT_FALSE(readNamesEntry(text, e));
    std::istringstream empty("");
    EXPECT_FALSE(readNamesEntry(empty, e));
    std::istringstream noChar("3 +");
    EXPECT_FALSE(readNamesEntry(noChar, e));
}

TEST(TraceBytes, TruncatedTowardZeroThenLowEightBits) {
    EXPECT_EQ(lowByte(-1.0f), 255);
    EXPECT_EQ(lowByte(256.0f), 0);
    EXPECT_EQ(lowByte(254.9f), 254);
    EXPECT_EQ(lowByte(-0.7f), 0);
    EXPECT_EQ(lowByte(-1.5f), 255);
    EXPECT_EQ(lowByte(300.0f), 44);
    EXPECT_EQ(lowByte(-257.0f), 255);
    // Values no int holds must not crash the step.
    EXPECT_EQ(truncToInt(1e20), 2147483647);
    EXPECT_EQ(truncToInt(-1e20), -2147483647 - 1);
    EXPECT_EQ(truncToInt(std::nan("")), 0);
    EXPECT_EQ(truncToInt(-0.9), 0);
}

TEST(NamesCopyNumbers, CountEarlierSamplesWithTheSameNames) {
    TempDir dir;
    const int samples = 9;
    StepData d;
    d.samples = samples;
    d.project.dyenumber = 1;
    d.namesPath = (dir / "names").c_str();
    d.tracesPath = (dir / "traces").c_str();
    writeFile(dir / "traces", tracesHeader(200, 1) + std::string(samples * 200, '\0'));
    writeFile(dir / "names", namesText({
                                 "0 + \"a\" \"d\"",   // 0
                                 "1 + \"a\" \"d\"",   // 1
                                 "2 + \"a\" \"e\"",   // 0
                                 "3 - \"a\" \"d\"",   // no clone
                                 "4 + \"a\" \"d\"",   // 2
                                 "5 + x",             // unnamed_4: 0
                                 "6 + x",             // unnamed_5: 0
                                 "7 + \"a b\" \"d\"", // 0
                                 "8 + \"a/b\" \"d\"", // a_b again: 1
                             }));
    testing::internal::CaptureStderr();
    ASSERT_TRUE(readTraces(d));
    testing::internal::GetCapturedStderr();
    d.normFacs.resize(0, samples - 1);
    for (int s = 0; s < samples; s++) {
        dp_Accum<Coords> pairs;
        pairs.append(Coords{0, 0});
        pairs.append(Coords{4096, 128});
        d.normFacs(s).nonlinear = false;
        d.normFacs(s).initFrom(pairs);
    }
    d.cloneNames.resize(0, samples - 1);
    d.digestNames.resize(0, samples - 1);
    d.copyNumbers.resize(0, samples - 1);
    d.gelFile = CheckedOutput::file(dir / "gel", OnWriteFailure::EndProcess);
    ASSERT_TRUE(emitTraces(d));
    ASSERT_TRUE(d.gelFile.finish());

    int expected[] = {0, 1, 0, -1, 2, 0, 0, 0, 1};
    for (int s = 0; s < samples; s++) {
        if (expected[s] >= 0) {
            EXPECT_EQ(d.copyNumbers(s), expected[s]) << s;
        }
    }
    EXPECT_TRUE(d.cloneNames(3).empty());
    EXPECT_TRUE(d.digestNames(3).empty());
    EXPECT_STREQ(d.cloneNames(6).c_str(), "unnamed_5");
    EXPECT_STREQ(d.digestNames(6).c_str(), "digest");
    EXPECT_STREQ(d.cloneNames(8).c_str(), "a_b");
}

TEST(GelFile, HeaderClonesAndResampledBlocks) {
    TempDir dir;
    ProjectShape p; // two lanes, one dye, every lane a marker lane
    TraceBody body(p);
    body.fillRow(0, 0, 7);
    body.fillRow(0, 2, 9);
    for (int g = 0; g <= 128; g++)
        body.at(0, 1, g) = (unsigned char)(g + 100);
    for (int g = 64; g <= 192; g++)
        body.at(1, 1, g) = (unsigned char)g;
    ProjectFiles f;
    f.info = infoText(p);
    f.rawBands = rawBandsText({});
    f.traces = tracesText(p, body);
    // Lane 0: standard = 32 x gel over gel 0 .. 128; lane 1: 32 x (gel - 64).
    f.normFac = normFacText(p, {{{0, 0}, {4096, 128}}, {{0, 64}, {4096, 192}}});
    f.names = namesText({nameEntry(0, "+", "c1 x", "dg/1"), nameEntry(1, "+", "c2", "dg")});
    writeProject(dir.path(), f);

    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::string expected = gelHeader(dir.path(), 2, 1) + "c1_x 0 0\nc2 1 1\n@@@\n\n" +
                           linearBlock(100, 1) + linearBlock(64, 1);
    EXPECT_EQ(readFile(dir / "map.17.gel"), expected);
}

TEST(GelFile, LaneReachingPastItsRowIsResampledFromTheRowOnly) {
    TempDir dir;
    ProjectShape p;
    p.rowLength = 150; // lane 1 is calibrated up to gel 192
    p.rowCount = 1;
    p.imageWidth = 5000;
    TraceBody body(p);
    for (int g = 0; g <= 128; g++)
        body.at(0, 0, g) = (unsigned char)(g + 100);
    for (int g = 64; g < 150; g++)
        body.at(1, 0, g) = (unsigned char)g;
    ProjectFiles f;
    f.info = infoText(p);
    f.rawBands = rawBandsText({});
    f.traces = tracesText(p, body);
    f.normFac = normFacText(p, {{{0, 0}, {4096, 128}}, {{0, 64}, {4096, 192}}});
    f.names = namesForAll(p);
    writeProject(dir.path(), f);

    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    // Lane 1 covers gel 64 .. 149 of its row: standard 0 .. 32 x 85.
    std::string expected = gelHeader(dir.path(), 2, 1) + "c0 0 0\nc1 1 1\n@@@\n\n" +
                           linearBlock(100, 1) + linearBlock(64, 1, 32 * 85);
    EXPECT_EQ(readFile(dir / "map.17.gel"), expected);
}

TEST(GelFile, SamplesUseTheFactorsOfTheirLane) {
    TempDir dir;
    ProjectShape p;
    p.lanes = 3;
    p.dyes = 2;
    p.markerRepeat = 2;
    TraceBody body(p);
    for (int g = 0; g <= 128; g++)
        body.at(0, 1, g) = (unsigned char)(g + 100);
    for (int g = 64; g <= 192; g++) {
        body.at(4, 1, g) = (unsigned char)g;
        body.at(5, 1, g) = (unsigned char)(255 - g);
    }
    ProjectFiles f;
    f.info = infoText(p);
    f.rawBands = rawBandsText({});
    f.traces = tracesText(p, body);
    f.normFac = normFacText(p, {{{0, 0}, {4096, 128}}, {{0, 64}, {4096, 192}}});
    f.names = namesText({nameEntry(0, "+", "a", "d"), nameEntry(0, "-", "x", "y"),
                         nameEntry(1, "-", "x", "y"), nameEntry(1, "-", "x", "y"),
                         nameEntry(2, "+", "b", "d"), nameEntry(2, "+", "a", "d")});
    writeProject(dir.path(), f);

    RunResult r = runStep(dir.path(), "m2");
    EXPECT_EQ(r.status, 0) << r.err;
    std::string expected = gelHeader(dir.path(), 6, 4) + "a 0 0\nb 4 1\na 5 2\n@@@\n\n" +
                           linearBlock(100, 1) + linearBlock(64, 1) + linearBlock(191, -1);
    EXPECT_EQ(readFile(dir / "m2.17.gel"), expected);
}

TEST(GelFile, NamesParsingThroughTheStep) {
    TempDir dir;
    ProjectShape p;
    p.lanes = 6;
    ProjectFiles f;
    f.info = infoText(p);
    f.rawBands = rawBandsText({});
    f.traces = tracesText(p, TraceBody(p)); // every trace 0
    f.normFac = normFacText(p, linearCalibration(32, 128));
    f.names = "NAMES\r\n"
              "0 + \"c12 x\" \"dg1\"\r\n"
              "1 - \"gone\" \"x\"\n"
              "2 + x\n"
              "3 + \"\" \"dg\"\n"
              "4 * \"a/b c\td\" \"e\"\n"
              "5 + \"last\" \"dg\"";
    writeProject(dir.path(), f);

    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    // The empty clone name gets a clone line but no block.
    std::string expected = gelHeader(dir.path(), 6, 1) +
                           "c12_x 0 0\nunnamed_1 2 1\n 3 2\na_b_c\td 4 3\nlast 5 4\n@@@\n\n" +
                           std::string(4 * 4600, '\0');
    EXPECT_EQ(readFile(dir / "map.17.gel"), expected);
}

TEST(GelFile, NoNamedSamples) {
    TempDir dir;
    ProjectShape p;
    ProjectFiles f;
    f.info = infoText(p);
    f.rawBands = rawBandsText({{0, 10}});
    f.traces = tracesText(p, TraceBody(p));
    f.normFac = normFacText(p, linearCalibration(32, 128));
    f.names = namesText({nameEntry(0, "-", "a", "b"), nameEntry(1, "-", "a", "b")});
    writeProject(dir.path(), f);

    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(dir / "map.17.gel"), gelHeader(dir.path(), 2, 1) + "@@@\n\n");
    EXPECT_EQ(readFile(dir / "17.bands"), "");
}

TEST(GelFile, ShortTracesBodyReadsAsZeros) {
    TempDir dir;
    ProjectShape p;
    p.lanes = 1;
    ProjectFiles f;
    f.info = infoText(p);
    f.rawBands = rawBandsText({});
    f.traces = tracesHeader(p.rowLength, p.rowCount) + "\x05\x06";
    f.normFac = normFacText(p, linearCalibration(32, 128));
    f.names = namesForAll(p);
    writeProject(dir.path(), f);

    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readFile(dir / "map.17.gel"),
              gelHeader(dir.path(), 1, 1) + "c0 0 0\n@@@\n\n" + std::string(4600, '\0'));
}

namespace {

ProjectFiles threeLaneProject(const ProjectShape& p) {
    ProjectFiles f;
    f.info = infoText(p);
    f.rawBands = rawBandsText({{0, 10}, {1, 20}, {2, 30}});
    f.traces = tracesText(p, TraceBody(p));
    f.normFac = normFacText(p, linearCalibration(32, 128));
    f.names = namesForAll(p);
    return f;
}

} // namespace

TEST(GelFileFailures, TooFewEntriesEndTheProcess) {
    TempDir dir;
    ProjectShape p;
    p.lanes = 3;
    ProjectFiles f = threeLaneProject(p);
    f.names = namesText({nameEntry(0, "+", "a", "d"), nameEntry(1, "+", "b", "d")});
    writeProject(dir.path(), f);

    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: reading " + dir.path() + "/names\n");
    // The header and the clone lines written so far stay in the gel file.
    EXPECT_EQ(readFile(dir / "map.17.gel"), gelHeader(dir.path(), 3, 1) + "a 0 0\nb 1 1\n");
    EXPECT_FALSE(fileExists(dir / "17.bands"));
}

TEST(GelFileFailures, TextWhereTheLaneNumberShouldBe) {
    TempDir dir;
    ProjectShape p;
    p.lanes = 3;
    ProjectFiles f = threeLaneProject(p);
    f.names = "NAMES\n0 + \"a\" \"d\"\nlane + \"b\" \"d\"\n2 + \"c\" \"d\"\n";
    writeProject(dir.path(), f);

    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: reading " + dir.path() + "/names\n");
}

TEST(GelFileFailures, MissingNamesFileEndsTheProcess) {
    TempDir dir;
    ProjectShape p;
    p.lanes = 3;
    writeProject(dir.path(), threeLaneProject(p));
    std::remove((dir / "names").c_str());

    RunResult r = run(zeStep5Path(), {dir.path(), "map", dir.path(), "again"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: can't open " + dir.path() + "/names\n");
    EXPECT_FALSE(fileExists(dir / "again.17.gel")); // the second step never ran
}

TEST(GelFileFailures, WrongNamesHeaderEndsOnlyTheStep) {
    TempDir dir;
    ProjectShape p;
    p.lanes = 3;
    ProjectFiles f = threeLaneProject(p);
    f.names = "names\n0 + \"a\" \"d\"\n1 + \"b\" \"d\"\n2 + \"c\" \"d\"\n";
    writeProject(dir.path(), f);

    RunResult r = run(zeStep5Path(), {dir.path(), "map", dir.path(), "again"});
    EXPECT_EQ(r.status, 1);
    std::string message = "ERROR: wrong header for names file '" + dir.path() + "/names'\n";
    EXPECT_EQ(r.err, message + message);
    EXPECT_EQ(readFile(dir / "map.17.gel"), "");
    EXPECT_EQ(readFile(dir / "again.17.gel"), "");
    EXPECT_FALSE(fileExists(dir / "17.bands"));
}

TEST(GelFileFailures, GelFileThatCannotBeCreated) {
    TempDir dir;
    ProjectShape p;
    p.lanes = 3;
    writeProject(dir.path(), threeLaneProject(p));
    run("/bin/mkdir", {dir / "map.17.gel"});

    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: couldn't create gel file '" + dir.path() + "/map.17.gel'\n");
    // The step goes on: the bands are still written.
    EXPECT_EQ(readFile(dir / "17.bands"), "         c0 1 17\n320\n-1\n         c1 1 17\n640\n-1\n"
                                          "         c2 1 17\n960\n-1\n");
}

TEST(GelFileFailures, UnusableTracesHeaderEndsTheStep) {
    TempDir dir;
    ProjectShape p;
    p.lanes = 3;
    ProjectFiles f = threeLaneProject(p);
    f.traces = tracesHeader(200, 0);
    writeProject(dir.path(), f);

    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.compare(0, 7, "ERROR: "), 0) << r.err;
    EXPECT_NE(r.err.find(dir.path() + "/traces'"), std::string::npos) << r.err;
    EXPECT_FALSE(fileExists(dir / "map.17.gel"));
    EXPECT_FALSE(fileExists(dir / "17.bands"));
}

TEST(GelFileFailures, MissingTracesFileEndsTheStep) {
    TempDir dir;
    ProjectShape p;
    p.lanes = 3;
    writeProject(dir.path(), threeLaneProject(p));
    std::remove((dir / "traces").c_str());

    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: couldn't open trace file '" + dir.path() + "/traces'\n");
    EXPECT_FALSE(fileExists(dir / "map.17.gel"));
}
