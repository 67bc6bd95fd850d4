// Hostile inputs found by the fuzz harnesses and the sweep: each test pins
// down the fix of one finding.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "projectBuilder.h"
#include "testSupport.h"
#include "zeInfo.h"
#include "zeRBLoad.h"
#include "zeStep.h"

using namespace zetest;

namespace {

// A sound two-lane project without sizes; every file can be read.
ProjectFiles soundProject(const ProjectShape& p) {
    ProjectFiles f;
    f.info = infoText(p);
    f.rawBands = rawBandsText({{0, 50.0}, {1, 70.0}});
    f.traces = tracesText(p, TraceBody(p));
    f.normFac = normFacText(p, linearCalibration(8, 128));
    f.names = namesForAll(p);
    return f;
}

// The project in dir with the named input file replaced by a directory.
void projectWithDirectory(const std::string& dir, const std::string& name) {
    writeProject(dir, soundProject(ProjectShape()));
    std::string path = dir + "/" + name;
    ASSERT_EQ(remove(path.c_str()), 0);
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
}

bool readTracesFrom(const std::string& fileText, int samples, std::string& err) {
    TempDir dir;
    writeFile(dir / "traces", fileText);
    StepData d;
    d.tracesPath = (dir / "traces").c_str();
    d.samples = samples;
    testing::internal::CaptureStderr();
    bool ok = readTraces(d);
    err = testing::internal::GetCapturedStderr();
    if (ok) {
        // Every row handed out must be readable end to end.
        for (int s = 0; s < samples; s++)
            for (int r = 0; r < d.rowCount; r++)
                EXPECT_EQ(d.laneRows(s, r)[d.rowLength - 1], 0);
    }
    return ok;
}

} // namespace

// The stream buffer throws on a read error (reading a directory), where the
// stream's own extractors would fail quietly: the readers that use the
// buffer directly turned that into an abort.
TEST(RobustnessDirectoryAsFile, LineAndWordReadersFailQuietly) {
    TempDir dir;
    std::ifstream in(dir.path());
    ASSERT_TRUE(in.is_open());
    dbString line;
    EXPECT_FALSE(readLine(in, line));
    EXPECT_TRUE(in.fail());

    std::ifstream again(dir.path());
    dbString word;
    again >> word;
    EXPECT_TRUE(again.fail());
    EXPECT_STREQ(word.c_str(), "");
}

TEST(RobustnessDirectoryAsFile, ReadersReturnFalse) {
    TempDir dir;
    ProjInfo p;
    EXPECT_FALSE(p.readFrom(dir.path().c_str()));
    dp_Array<dp_Accum<RawBand> > bands(0, 0);
    EXPECT_FALSE(loadRawBands(dir.path().c_str(), bands));
    std::string err;
    StepData d;
    d.tracesPath = dir.path().c_str();
    d.samples = 1;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(readTraces(d));
    err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "ERROR: couldn't read the header of trace file '" + dir.path() + "'\n");
}

TEST(RobustnessDirectoryAsFile, StepEndsWithItsMessage) {
    struct Expected {
        const char* file;
        int status;
        const char* message;
    };
    const Expected cases[] = {
        {"info", 1, "ERROR: failed to load project file"},
        {"raw-bands", 1, "ERROR: loading raw-bands"},
        {"traces", 1, "ERROR: couldn't read the header of trace file '"},
        {"norm-fac", 1, "ERROR: wrong header in '"},
        {"names", 1, "ERROR: wrong header for names file '"},
    };
    for (const Expected& c : cases) {
        TempDir dir;
        projectWithDirectory(dir.path(), c.file);
        RunResult r = runStep(dir.path());
        EXPECT_EQ(r.signal, 0) << c.file << ": " << r.err;
        EXPECT_EQ(r.status, c.status) << c.file << ": " << r.err;
        EXPECT_EQ(r.err.compare(0, strlen(c.message), c.message), 0) << c.file << ": " << r.err;
    }
}

// A traces header alone decides how much memory the step takes, so a file
// of a few bytes could claim gigabytes: the header's geometry is bounded.
TEST(RobustnessTraceLimits, RowLengthAboveTheLimitIsRefused) {
    std::string err;
    EXPECT_FALSE(readTracesFrom("TRACES 100001\nROWS 1\na\nb\n", 1, err));
    EXPECT_NE(err.find("ERROR: row length of trace file '"), std::string::npos) << err;
    EXPECT_NE(err.find("' must not exceed 100000\n"), std::string::npos) << err;
    EXPECT_TRUE(readTracesFrom("TRACES 100000\nROWS 2\na\nb\n", 1, err)) << err;
}

TEST(RobustnessTraceLimits, ManyShortRowsAreRefused) {
    // 200 million rows of one byte: the body fits an int, but with the row
    // index and the 16-bit traces the step would hold about 2 GiB.
    std::string err;
    EXPECT_FALSE(readTracesFrom("TRACES 1\nROWS 200000000\na\nb\n", 1, err));
    EXPECT_NE(err.find("is too large to hold in memory"), std::string::npos) << err;
    // The largest counts must not overflow on the way to that answer.
    EXPECT_FALSE(readTracesFrom("TRACES 100000\nROWS 2147483647\na\nb\n", 100000, err));
    EXPECT_NE(err.find("is too large to hold in memory"), std::string::npos) << err;
}

TEST(RobustnessTraceLimits, StepEndsAndGoesOnWithTheNextProject) {
    TempDir big, small;
    ProjectShape p;
    ProjectFiles hostile = soundProject(p);
    hostile.traces = "TRACES 1\nROWS 200000000\na\nb\n";
    writeProject(big.path(), hostile);
    writeProject(small.path(), soundProject(p));
    RunResult r = run(zeStep5Path(), {big.path(), "map", small.path(), "map"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(linesStartingWith(r.err, "ERROR: ").size(), 1u) << r.err;
    EXPECT_TRUE(fileExists(small / "map.17.gel"));
    EXPECT_FALSE(fileExists(big / "map.17.gel"));
}
