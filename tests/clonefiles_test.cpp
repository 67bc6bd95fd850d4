// Per-clone results (band table, ICS trace, PPM gel strip, compression),
// mostly through the real zeStep5 on small projects written here.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>

#include "projectBuilder.h"
#include "testSupport.h"
#include "zeGelStrip.h"

using namespace zetest;

namespace {

const int SCALE = 4600;

// ---------------------------------------------------------------------------
// Projects

// Standard position = gel position, one calibration pair per gel position
// 0 .. 4599: every resampled value is then exactly the trace value at that
// position, so pictures and traces can be predicted byte by byte. Two pairs
// carry sizes so that the step writes the per-clone files.
std::vector<CalPair> identityCalibration() {
    std::vector<CalPair> pairs;
    for (int g = 0; g < SCALE; g++) pairs.push_back({(double)g, (double)g});
    pairs[1000].size = 500.5;
    pairs[3000].size = 50.5;
    return pairs;
}

// One sample (clone c0, digest d) with strips of rowCount rows of 4600
// bytes; byteAt(row, position) gives the strip. extraInfo is appended to
// the info file.
RunResult runStripProject(const TempDir& dir, int rowCount, const std::string& extraInfo,
                          const std::function<unsigned char(int, int)>& byteAt) {
    ProjectShape p;
    p.lanes = 1;
    p.rowLength = SCALE;
    p.imageWidth = SCALE;
    p.rowCount = rowCount;
    p.compression = "true";
    TraceBody body(p);
    for (int r = 0; r < rowCount; r++)
        for (int g = 0; g < SCALE; g++) body.at(0, r, g) = byteAt(r, g);
    writeProject(dir.path(), {infoText(p) + extraInfo, rawBandsText({}), tracesText(p, body),
                              normFacText(p, identityCalibration()), namesForAll(p)});
    return runStep(dir.path());
}

// Standard position = gel x 1000 / 256 (piecewise linear through collinear
// pairs), with fragment sizes at the pairs. Bands placed on the pairs get
// their standard position and log size without interpolation, so the table
// can be written down: sizes with a fraction of .5 truncate the same way
// whatever the last bit of the float logarithm.
std::vector<CalPair> sizedCalibration() {
    return {{0, 0},
            {2.9296875, 0.75, 30000.5},
            {391.6015625, 100.25, 20000.5},
            {1500, 384, 1500.5},
            {4000, 1024, 3.5},
            {5000, 1280, 1},
            {6000, 1536, 0.125}};
}

// Kind-1 bands of sample 0 in stored (not sorted) order, with the dropped
// ones among them.
std::vector<BandRecord> sizedBands() {
    return {{0, 384},        // 1500.00, 1500
            {0, 0.75},       // 2.93 (rounded, not truncated), 30000
            {0, 1000, 2},    // kind 2: never listed
            {0, 100.25},     // 391.60, 20000
            {0, -5},         // standard position negative: dropped
            {0, 1536},       // log size negative (size 0.125): dropped
            {0, 1280},       // log size exactly 0: kept, size 1
            {0, 1024},       // 4000.00, 3
            {2, 384}};       // the only band of sample 2
}

const char* const sample0Table = "  1500.00      1500\n"
                                 "     2.93     30000\n"
                                 "   391.60     20000\n"
                                 "  5000.00         1\n"
                                 "  4000.00         3\n";
const char* const sample2Table = "  1500.00      1500\n";

// Three lanes of one dye; samples 0 and 2 share clone and digest names,
// sample 1 is unnamed (or as given in names).
ProjectShape sizedShape(const std::string& compression) {
    ProjectShape p;
    p.lanes = 3;
    p.rowLength = 1600;
    p.imageWidth = 1600;
    p.rowCount = 3;
    p.compression = compression;
    return p;
}

void writeSizedProject(const std::string& dir, const ProjectShape& p,
                       const std::vector<std::string>& nameEntries) {
    TraceBody body(p);
    for (int s = 0; s < p.samples(); s++)
        for (int r = 0; r < p.rowCount; r++)
            for (int g = 0; g < p.rowLength; g++) body.at(s, r, g) = (unsigned char)(g + r + s);
    writeProject(dir, {infoText(p), rawBandsText(sizedBands()), tracesText(p, body),
                       normFacText(p, sizedCalibration()), namesText(nameEntries)});
}

std::vector<std::string> defaultNames() {
    return {nameEntry(0, "+", "c1", "d1"), "1 - \"\" \"\"", nameEntry(2, "+", "c1", "d1")};
}

// ---------------------------------------------------------------------------
// Expected pictures, worked out from the selection rules in closed form

// Pixel k of a row of width X < 4600 shows the first position p at which
// p x X / 4600 reaches k + 1, that is p = ceil((k + 1) x 4600 / X) - 1.
int positionOfPixel(int k, int width) {
    if (width >= SCALE) return k < SCALE ? k : -1;  // -1: beyond the scale, white
    return (int)(((long long)(k + 1) * SCALE + width - 1) / width) - 1;
}

std::string expectedStrip(int width, const std::vector<int>& rows,
                          const std::function<unsigned char(int, int)>& byteAt) {
    std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(rows.size()) +
                      "\n255\n";
    for (int r : rows) {
        for (int k = 0; k < width; k++) {
            int p = positionOfPixel(k, width);
            char grey = (char)(p < 0 ? 255 : 255 - byteAt(r, p));
            ppm.append(3, grey);
        }
    }
    return ppm;
}

std::string toolPath(const std::string& name) {
    for (const char* dir : {"/usr/bin/", "/bin/", "/usr/local/bin/"})
        if (fileExists(dir + name)) return dir + name;
    return "";
}

// Checks the picture with netpbm's own reader; "" when it is fine.
std::string netpbmVerdict(const std::string& ppmPath, int width, int height) {
    std::string pamfile = toolPath("pamfile"), pamvalidate = toolPath("pamvalidate");
    RunResult info = run(pamfile, {ppmPath});
    std::string want = ppmPath + ":\tPPM raw, " + std::to_string(width) + " by " +
                       std::to_string(height) + "  maxval 255\n";
    if (info.status != 0 || info.out != want) return "pamfile said: " + info.out + info.err;
    RunResult valid = run(pamvalidate, {}, readFile(ppmPath));
    if (valid.status != 0) return "pamvalidate said: " + valid.err;
    return "";
}

bool haveNetpbm() { return !toolPath("pamfile").empty() && !toolPath("pamvalidate").empty(); }

unsigned char stripPattern(int r, int g) { return (unsigned char)(r * 37 + g); }

void makeExecutable(const std::string& path, const std::string& script) {
    writeFile(path, script);
    chmod(path.c_str(), 0755);
}

bool safeForShell(const std::string& path) {
    return path.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                  "0123456789_@%+=:,./-") == std::string::npos;
}

}  // namespace

// ---------------------------------------------------------------------------
// Selection rules and grey values

TEST(GelStripRules, GreyIsInvertedIntensityClampedToTheByteRange) {
    EXPECT_EQ(stripGrey(-3.0f), 255);  // a spline undershoot draws white
    EXPECT_EQ(stripGrey(300.0f), 0);   // an overshoot draws black
    EXPECT_EQ(stripGrey(100.0f), 155);
    EXPECT_EQ(stripGrey(0.0f), 255);
    EXPECT_EQ(stripGrey(255.0f), 0);
    EXPECT_EQ(stripGrey(255.5f), 0);
    EXPECT_EQ(stripGrey(254.9f), 1);  // truncated toward zero
    EXPECT_EQ(stripGrey(-0.5f), 255);
    EXPECT_EQ(stripGrey(std::nanf("")), 255);
}

TEST(GelStripRules, RowsDrawnForThirtyOfTenAndOfSixtyInteriorRows) {
    for (int r = 1; r <= 10; r++) EXPECT_TRUE(stripRowDrawn(r, 10, 30)) << r;
    EXPECT_EQ(stripHeight(30, 12), 10);
    for (int r = 1; r <= 60; r++) EXPECT_EQ(stripRowDrawn(r, 60, 30), r % 2 == 1) << r;
    EXPECT_EQ(stripHeight(30, 62), 30);
    // Fewer wanted than there are: exactly that many, whatever the ratio.
    for (int wanted : {0, 1, 7, 29, 59}) {
        int drawn = 0;
        for (int r = 1; r <= 60; r++) drawn += stripRowDrawn(r, 60, wanted);
        EXPECT_EQ(drawn, wanted);
        EXPECT_EQ(stripHeight(wanted, 62), wanted);
    }
}

TEST(GelStripRules, HeightAndWidthNeverNegative) {
    EXPECT_EQ(stripHeight(30, 2), 0);
    EXPECT_EQ(stripHeight(30, 1), 0);
    EXPECT_EQ(stripHeight(30, 0), 0);
    EXPECT_EQ(stripHeight(-4, 12), 0);
    EXPECT_EQ(stripHeight(INT_MAX, INT_MIN), 0);
    EXPECT_EQ(stripHeight(INT_MAX, INT_MAX), INT_MAX - 2);
    EXPECT_EQ(stripWidth(2000), 2000);
    EXPECT_EQ(stripWidth(0), 0);
    EXPECT_EQ(stripWidth(-7), 0);
}

TEST(GelStripRules, PositionsDrawnForCommonWidths) {
    int count = 0, first = -1;
    for (int p = 0; p < SCALE; p++) {
        if (!stripPositionDrawn(p, 2000)) continue;
        if (first < 0) first = p;
        EXPECT_EQ(p, positionOfPixel(count, 2000));
        count++;
    }
    EXPECT_EQ(count, 2000);
    EXPECT_EQ(first, 2);
    for (int p = 0; p < SCALE; p++) {
        EXPECT_TRUE(stripPositionDrawn(p, 4600)) << p;
        EXPECT_TRUE(stripPositionDrawn(p, 5000)) << p;
    }
    EXPECT_FALSE(stripPositionDrawn(4598, 1));
    EXPECT_TRUE(stripPositionDrawn(4599, 1));
}

TEST(GelStripRules, HugeSizesDoNotOverflow) {
    // (r + 1) x Y and (p + 1) x X exceed the int range here.
    EXPECT_TRUE(stripRowDrawn(INT_MAX - 1, INT_MAX - 1, INT_MAX));
    EXPECT_TRUE(stripRowDrawn(1, INT_MAX - 1, INT_MAX - 1));
    EXPECT_TRUE(stripPositionDrawn(4599, INT_MAX));
    EXPECT_TRUE(stripPositionDrawn(0, INT_MAX));
}

// ---------------------------------------------------------------------------
// The PPM picture through zeStep5

TEST(CloneFilesPicture, SixtyInteriorRowsGiveEverySecondRowAtWidth2000) {
    TempDir dir;
    RunResult r = runStripProject(dir, 62, "", stripPattern);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::vector<int> rows;
    for (int row = 1; row <= 59; row += 2) rows.push_back(row);
    std::string ppm = dir / "Results/c0.d.0.ppm";
    std::string got = readFile(ppm);
    EXPECT_EQ(got.substr(0, 15), "P6\n2000 30\n255\n");
    EXPECT_TRUE(got == expectedStrip(2000, rows, stripPattern)) << "picture differs";
    // First pixel of the first row: row 1 at position 2.
    ASSERT_GT(got.size(), 18u);
    EXPECT_EQ((unsigned char)got[15], 255 - stripPattern(1, 2));
    if (!haveNetpbm()) GTEST_SKIP() << "netpbm tools not installed";
    EXPECT_EQ(netpbmVerdict(ppm, 2000, 30), "");
}

TEST(CloneFilesPicture, TenInteriorRowsAllDrawnAtFullWidth) {
    TempDir dir;
    RunResult r = runStripProject(dir, 12, "outputxsize = 4600\n", stripPattern);
    ASSERT_EQ(r.status, 0) << r.err;
    std::string ppm = dir / "Results/c0.d.0.ppm";
    EXPECT_TRUE(readFile(ppm) == expectedStrip(4600, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
                                               stripPattern))
        << "picture differs";
    if (!haveNetpbm()) GTEST_SKIP() << "netpbm tools not installed";
    EXPECT_EQ(netpbmVerdict(ppm, 4600, 10), "");
}

TEST(CloneFilesPicture, WidthBeyondTheScaleIsPaddedWhite) {
    TempDir dir;
    // Bytes from 1 up, so that no drawn pixel is white itself.
    auto pattern = [](int r, int g) { return (unsigned char)(1 + (r * 5 + g) % 250); };
    RunResult r = runStripProject(dir, 5, "outputxsize = 5000\noutputysize = 2\n", pattern);
    ASSERT_EQ(r.status, 0) << r.err;
    std::string ppm = dir / "Results/c0.d.0.ppm";
    std::string got = readFile(ppm);
    // Three interior rows, two wanted: 1 x 2 / 3 and 2 x 2 / 3 differ at rows 1 and 2.
    EXPECT_TRUE(got == expectedStrip(5000, {1, 2}, pattern)) << "picture differs";
    size_t header = strlen("P6\n5000 2\n255\n");
    ASSERT_EQ(got.size(), header + 2 * 5000 * 3);
    EXPECT_EQ(got.substr(header + 3 * 4600, 3 * 400), std::string(3 * 400, (char)255));
    EXPECT_NE((unsigned char)got[header + 3 * 4599], 255);
    if (!haveNetpbm()) GTEST_SKIP() << "netpbm tools not installed";
    EXPECT_EQ(netpbmVerdict(ppm, 5000, 2), "");
}

TEST(CloneFilesPicture, EmptySizesGiveHeadersThatMatchTheData) {
    struct Case {
        int rowCount;
        std::string info;
        std::string picture;
    } cases[] = {
        {2, "", "P6\n2000 0\n255\n"},                     // no interior row
        {1, "", "P6\n2000 0\n255\n"},                     // height would be negative
        {12, "outputysize = -5\n", "P6\n2000 0\n255\n"},  // negative wanted height
        {12, "outputysize = 0\n", "P6\n2000 0\n255\n"},
        {4, "outputxsize = 0\n", "P6\n0 2\n255\n"},  // rows without pixels
        {4, "outputxsize = -7\n", "P6\n0 2\n255\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        RunResult r = runStripProject(dir, c.rowCount, c.info, stripPattern);
        EXPECT_EQ(r.status, 0) << c.rowCount << " " << c.info << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(readFile(dir / "Results/c0.d.0.ppm"), c.picture) << c.rowCount << " " << c.info;
        // The rest of the sample's files are still written.
        EXPECT_TRUE(fileExists(dir / "Results/c0.d.0.ids"));
    }
}

// ---------------------------------------------------------------------------
// The ICS trace

TEST(CloneFilesTrace, IcsHeaderAndDataHoldTheSixteenBitTrace) {
    TempDir dir;
    // Row 0 is the low byte plane, the last row the high one; high bytes of
    // 128 and more make negative samples.
    auto planes = [](int r, int g) {
        return (unsigned char)(r == 0 ? g : r == 2 ? g * 7 : 99);
    };
    RunResult r = runStripProject(dir, 3, "", planes);
    ASSERT_EQ(r.status, 0) << r.err;
    std::string base = dir / "Results/c0.d.0";
    EXPECT_EQ(readFile(base + ".ics"),
              "\t\n"
              "ics_version\t1.0\n"
              "filename\t" + base + "\n"
              "layout\tparameters\t2\n"
              "layout\torder\tbits\tx\n"
              "layout\tsizes\t16\t4600\n"
              "layout\tcoordinates\tvideo\n"
              "layout\tsignificant_bits\t16\n"
              "representation\tformat\tinteger\n"
              "representation\tsign\tsigned\n"
              "representation\tbyte_order\t1\t2\n"
              "parameter\torigin\t0.000000\t0.000000\n");
    const uint16_t probe = 0x0201;
    bool lowFirst = *reinterpret_cast<const unsigned char*>(&probe) == 1;
    ASSERT_TRUE(lowFirst) << "the header table above is for a little-endian machine";
    std::string want;
    for (int p = 0; p < SCALE; p++) {
        want += (char)planes(0, p);
        want += (char)planes(2, p);
    }
    std::string got = readFile(base + ".ids");
    ASSERT_EQ(got.size(), 9200u);
    EXPECT_TRUE(got == want) << "trace data differs";
}

// ---------------------------------------------------------------------------
// Band tables, names, the whole step

TEST(CloneFilesStep, StandardOutputAndFilesOfAWholeStep) {
    TempDir dir;
    ASSERT_TRUE(safeForShell(dir.path()));
    ProjectShape p = sizedShape("");
    writeSizedProject(dir.path(), p, defaultNames());
    RunResult r = runStep(dir.path());
    const std::string& d = dir.path();
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "Load project\n"
                     "band filename = " + d + "/17.bands\n"
                     "gel  filename = " + d + "/map.17.gel\n"
                     "Loading raw bands\n"
                     "Starting to read '" + d + "/norm-fac'\n"
                     "Read fragment size information as well as migration data\n"
                     "Finished reading '" + d + "/norm-fac'\n"
                     "Emit traces\n"
                     "Emit normalised bands\n"
                     "gzip " + d + "/Results/c1.d1.0.ppm\n"
                     "gzip " + d + "/Results/c1.d1.1.ppm\n");
    EXPECT_EQ(listDir(d + "/Results"),
              (std::vector<std::string>{"c1.d1.0.bands", "c1.d1.0.ics", "c1.d1.0.ids",
                                        "c1.d1.0.ppm.gz", "c1.d1.1.bands", "c1.d1.1.ics",
                                        "c1.d1.1.ids", "c1.d1.1.ppm.gz"}));
    EXPECT_EQ(readFile(d + "/Results/c1.d1.0.bands"), sample0Table);
    EXPECT_EQ(readFile(d + "/Results/c1.d1.1.bands"), sample2Table);

    // The default command replaced each picture by a sound gzip file
    // holding the whole picture: 2000 by 1 (one interior row).
    std::string gzip = toolPath("gzip");
    ASSERT_FALSE(gzip.empty());
    for (const char* base : {"c1.d1.0", "c1.d1.1"}) {
        std::string gz = d + "/Results/" + base + ".ppm.gz";
        EXPECT_EQ(run(gzip, {"-t", gz}).status, 0) << gz;
        RunResult unpacked = run(gzip, {"-dc", gz});
        std::string header = "P6\n2000 1\n255\n";
        EXPECT_EQ(unpacked.out.size(), header.size() + 2000 * 3);
        EXPECT_EQ(unpacked.out.substr(0, header.size()), header);
    }
}

TEST(CloneFilesStep, EmptyDigestGivesTwoDotsAndTrueKeepsThePicture) {
    TempDir dir;
    ProjectShape p = sizedShape("true");
    writeSizedProject(dir.path(), p,
                      {nameEntry(0, "+", "c12", ""), "1 - \"\" \"\"", "2 - \"\" \"\""});
    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(linesStartingWith(r.out, "true "),
              std::vector<std::string>{"true " + dir.path() + "/Results/c12..0.ppm"});
    EXPECT_EQ(listDir(dir / "Results"),
              (std::vector<std::string>{"c12..0.bands", "c12..0.ics", "c12..0.ids",
                                        "c12..0.ppm"}));
    EXPECT_EQ(readFile(dir / "Results/c12..0.bands"), sample0Table);
}

TEST(CloneFilesStep, CommandRunsOnCompleteClosedFiles) {
    TempDir dir, tools;
    // The compression word is a program of our own that copies what it
    // finds when it runs: the picture and its band table.
    std::string script = tools / "snapshot";
    makeExecutable(script, "#!/bin/sh\ncp \"$1\" \"$1.seen\"\n"
                           "cp \"${1%.ppm}.bands\" \"${1%.ppm}.bands.seen\"\n");
    ProjectShape p = sizedShape(script);
    writeSizedProject(dir.path(), p, defaultNames());
    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(linesStartingWith(r.out, script),
              (std::vector<std::string>{script + " " + dir.path() + "/Results/c1.d1.0.ppm",
                                        script + " " + dir.path() + "/Results/c1.d1.1.ppm"}));
    for (const char* base : {"c1.d1.0", "c1.d1.1"}) {
        std::string b = dir / "Results/" + base;
        std::string picture = readFile(b + ".ppm");
        EXPECT_EQ(picture.size(), strlen("P6\n2000 1\n255\n") + 2000 * 3);
        EXPECT_EQ(readFile(b + ".ppm.seen"), picture) << base;
        EXPECT_EQ(readFile(b + ".bands.seen"), readFile(b + ".bands")) << base;
    }
    EXPECT_EQ(readFile(dir / "Results/c1.d1.0.bands.seen"), sample0Table);
}

TEST(CloneFilesStep, ClonesNamedLikeShellCommandsRunNothing) {
    TempDir dir, cwd;
    // Blanks in names become "_", tabs stay: unquoted, these would run touch.
    std::vector<std::string> names = {"a;touch\tx", "$(touch\ty)", "`touch\tz`",
                                      "q'uote;touch\tw"};
    ProjectShape p = sizedShape("");
    p.lanes = 4;
    std::vector<std::string> entries;
    for (int s = 0; s < 4; s++) entries.push_back(nameEntry(s, "+", names[s], "d"));
    writeSizedProject(dir.path(), p, entries);
    RunResult r = run(zeStep5Path(), {dir.path(), "map"}, "", cwd.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    std::string results = dir / "Results/";
    EXPECT_EQ(linesStartingWith(r.out, "gzip "),
              (std::vector<std::string>{
                  "gzip '" + results + "a;touch\tx.d.0.ppm'",
                  "gzip '" + results + "$(touch\ty).d.0.ppm'",
                  "gzip '" + results + "`touch\tz`.d.0.ppm'",
                  "gzip '" + results + "q'\\''uote;touch\tw.d.0.ppm'",
              }));
    EXPECT_EQ(listDir(cwd.path()), std::vector<std::string>{});
    for (const char* stray : {"x", "y", "z", "w"}) {
        EXPECT_FALSE(fileExists(dir / stray)) << stray;
        EXPECT_FALSE(fileExists(results + stray)) << stray;
    }
    // gzip got the very path of each picture.
    for (const std::string& n : names) {
        EXPECT_TRUE(fileExists(results + n + ".d.0.ppm.gz")) << n;
        EXPECT_FALSE(fileExists(results + n + ".d.0.ppm")) << n;
    }
}

TEST(CloneFilesStep, UncreatableBandTableEndsTheStepKeepingEarlierFiles) {
    TempDir dir;
    std::string longName(250, 'L');  // with ".d.0.bands" beyond a file name's limit
    ProjectShape p = sizedShape("true");
    writeSizedProject(dir.path(), p,
                      {nameEntry(0, "+", "c", "d"), nameEntry(1, "+", longName, "d"),
                       nameEntry(2, "+", "e", "d")});
    RunResult r = runStep(dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: opening bands/sizes file: " + dir.path() + "/Results/" + longName +
                         ".d.0.bands\n");
    EXPECT_EQ(linesStartingWith(r.out, "true "),
              std::vector<std::string>{"true " + dir.path() + "/Results/c.d.0.ppm"});
    EXPECT_EQ(listDir(dir / "Results"),
              (std::vector<std::string>{"c.d.0.bands", "c.d.0.ics", "c.d.0.ids", "c.d.0.ppm"}));
}

TEST(CloneFilesStep, UncreatablePictureEndsTheStepButNotTheRun) {
    TempDir dir, other, tools;
    // After the first picture, the command puts a directory where the
    // second sample's picture must go.
    std::string script = tools / "block";
    makeExecutable(script, "#!/bin/sh\nmkdir \"${1%.0.ppm}.1.ppm\"\n");
    ProjectShape p = sizedShape(script);
    writeSizedProject(dir.path(), p,
                      {nameEntry(0, "+", "c", "d"), nameEntry(1, "+", "c", "d"),
                       nameEntry(2, "+", "e", "d")});
    writeSizedProject(other.path(), sizedShape("true"), defaultNames());
    RunResult r = run(zeStep5Path(), {dir.path(), "map", other.path(), "map"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: opening ppm file\n");
    EXPECT_EQ(linesStartingWith(r.out, script),
              std::vector<std::string>{script + " " + dir.path() + "/Results/c.d.0.ppm"});
    EXPECT_EQ(listDir(dir / "Results"),
              (std::vector<std::string>{"c.d.0.bands", "c.d.0.ics", "c.d.0.ids", "c.d.0.ppm",
                                        "c.d.1.bands", "c.d.1.ppm"}));
    EXPECT_EQ(readFile(dir / "Results/c.d.1.bands"), "");
    // The next pair still ran its whole step.
    EXPECT_EQ(linesStartingWith(r.out, "true ").size(), 2u);
    EXPECT_EQ(readFile(other / "Results/c1.d1.1.bands"), sample2Table);
}
