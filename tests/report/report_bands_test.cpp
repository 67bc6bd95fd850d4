// Band counts of the report against hand-worked projects and against the
// bands and size files that zeStep5 writes for the same project.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "projectBuilder.h"
#include "reportTestSupport.h"

using namespace zetest;

namespace {

// One lane, one sample, linear method; standard = 16 x gel over gel 0 ..
// 256 (margin 1.28). With sizes, 1000 at gel 0 and 0.5 at gel 256: the log
// size is linear in gel (a two-point spline) and crosses 0 at gel
// 256 x ln 1000 / (ln 1000 - ln 0.5) = 232.65.
std::string handWorkedProject(const TempDir& t, bool sizes) {
    ProjectShape p;
    p.lanes = 1;
    p.rowLength = 300;
    p.imageWidth = 300;
    std::string dir = t / (sizes ? "sizes" : "nosizes");
    run("/bin/mkdir", {dir});
    std::vector<CalPair> cal = {{0, 0, sizes ? 1000.0 : 0}, {4096, 256, sizes ? 0.5 : 0}};
    std::vector<BandRecord> bands = {
        {0, 10},    // standard 160: accepted
        {0, 100},   // standard 1600: accepted
        {0, 300},   // beyond 257.28: outside the calibrated range
        {0, -1},    // inside the margin, standard -16: negative position
        {0, -2},    // below -1.28: outside
        {0, 240},   // standard 3840; log size below 0 with sizes
        {0, 257},   // inside the margin, standard 4112; log size below 0 with sizes
        {0, 50, 2}, // other kinds
        {0, 60, 3},
    };
    TraceBody body(p);
    writeProject(dir, {infoText(p), rawBandsText(bands), tracesText(p, body), normFacText(p, cal),
                       namesText({nameEntry(0, "+", "c0", "d")})});
    return dir;
}

// Kinds other than 1 per sample, read straight from a raw-bands file.
std::map<int, int> otherKindsIn(const std::string& rawBands) {
    std::map<int, int> counts;
    std::istringstream in(rawBands);
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        std::istringstream words(line);
        int sample, kind;
        double position, height, width;
        if (words >> sample >> position >> height >> width >> kind) counts[sample] += kind != 1;
    }
    return counts;
}

std::map<int, int> bandsPerSample(const std::string& rawBands) {
    std::map<int, int> counts;
    std::istringstream in(rawBands);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream words(line);
        int sample;
        if (words >> sample) counts[sample]++;
    }
    return counts;
}

} // namespace

TEST(ReportBandCounts, HandWorkedProjectWithSizes) {
    TempDir t;
    std::string dir = handWorkedProject(t, true);
    RunResult r = runReport({dir});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<ReportRow> rows = reportRows(readFile(dir + "/report.html"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].accepted, 2);
    EXPECT_EQ(rows[0].outside, 2);
    EXPECT_EQ(rows[0].negativePosition, 1);
    EXPECT_EQ(rows[0].negativeLogSize, 2);
    EXPECT_EQ(rows[0].otherKind, 2);
    // The step agrees: two bands, at 160 and 1600.
    ASSERT_EQ(runStep(dir).status, 0);
    EXPECT_EQ(readFile(dir + "/17.bands"), "         c0 2 17\n160\n1600\n-1\n");
}

TEST(ReportBandCounts, HandWorkedProjectWithoutSizes) {
    TempDir t;
    std::string dir = handWorkedProject(t, false);
    ASSERT_EQ(runReport({dir}).status, 0);
    std::vector<ReportRow> rows = reportRows(readFile(dir + "/report.html"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].accepted, 4);
    EXPECT_EQ(rows[0].outside, 2);
    EXPECT_EQ(rows[0].negativePosition, 1);
    EXPECT_EQ(rows[0].negativeLogSize, 0);
    EXPECT_EQ(rows[0].otherKind, 2);
}

// Generated gels of several shapes: the report's accepted counts are the
// counts of the bands file (and of the size file), sample by sample.
TEST(ReportBandCounts, MatchTheBandsFileOfTheStep) {
    struct Gel {
        std::vector<std::string> knobs;
        std::string gelNumber;
        bool sizes;
    };
    const std::vector<Gel> gels = {
        {{"--seed", "3", "--lanes", "9", "--marker-repeat", "4", "--row-length", "600", "--rows",
          "6", "--compression", "true"},
         "17",
         true},
        {{"--seed", "4", "--lanes", "5", "--dyes", "2", "--marker-repeat", "2", "--method",
          "linear", "--no-sizes", "--row-length", "500", "--rows", "5"},
         "17",
         false},
        {{"--seed", "5", "--lanes", "7", "--dyes", "3", "--marker-repeat", "3", "--row-length",
          "400", "--rows", "4", "--gel-number", "G2", "--compression", "true"},
         "G2",
         true},
    };
    for (const Gel& g : gels) {
        SCOPED_TRACE("seed " + g.knobs[1]);
        TempDir t;
        std::string dir = t / "gel";
        generateProject(dir, g.knobs);
        ASSERT_EQ(runStep(dir).status, 0);
        ASSERT_EQ(runReport({dir}).status, 0);

        std::vector<ReportRow> rows = reportRows(readFile(dir + "/report.html"));
        auto counts = bandFileCounts(readFile(dir + "/" + g.gelNumber + ".bands"));
        ASSERT_EQ(rows.size(), counts.size());
        ASSERT_GT(rows.size(), 2u);
        std::string rawBands = readFile(dir + "/raw-bands");
        std::map<int, int> other = otherKindsIn(rawBands), total = bandsPerSample(rawBands);
        int outside = 0;
        for (size_t i = 0; i < rows.size(); i++) {
            const ReportRow& r = rows[i];
            EXPECT_EQ(r.clone, counts[i].first);
            EXPECT_EQ(r.accepted, counts[i].second) << "sample " << r.sample;
            EXPECT_EQ(r.otherKind, other[r.sample]) << "sample " << r.sample;
            EXPECT_EQ(r.accepted + r.outside + r.negativePosition + r.negativeLogSize + r.otherKind,
                      total[r.sample])
                << "sample " << r.sample;
            outside += r.outside;
        }
        // The generator puts a few bands beyond the calibrated range.
        EXPECT_GT(outside, 0);
        if (g.sizes)
            EXPECT_EQ(bandFileCounts(readFile(dir + "/" + g.gelNumber + ".sizes")), counts);
        else
            EXPECT_FALSE(fileExists(dir + "/" + g.gelNumber + ".sizes"));
    }
}
