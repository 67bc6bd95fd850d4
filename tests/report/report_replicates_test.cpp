// The replicates of a gel: copies of a clone that carry the same fragments
// match, a deliberately mismatched copy is warned about on the page, and
// replicatePairs gives the same pairs to any other caller. The spread of
// the copies' bands suggests a tolerance; a gel without copies says so.
#include <gtest/gtest.h>

#include "projectBuilder.h"
#include "reportTestSupport.h"
#include "zeBandSpread.h"
#include "zeReplicates.h"
#include "zeReportProject.h"

using namespace zetest;

namespace {

std::string reportOf(const TempDir& t, const std::vector<std::string>& knobs) {
    std::string dir = t / "gel";
    generateProject(dir, knobs);
    RunResult r = runReport({dir});
    EXPECT_EQ(r.status, 0) << r.err;
    return readFile(dir + "/report.html");
}

std::vector<ReplicatePair> pairsOf(const std::string& dir) {
    StepData d;
    d.projectDir = dir.c_str();
    std::string error;
    EXPECT_TRUE(loadReportProject(d, error)) << error;
    return replicatePairs(d, countNamedSamples(d));
}

// Copies of clone c, one lane each, every lane a marker lane mapped by
// standard = 16 x gel (exact). A, B and C match; D lies 11 units off A
// everywhere and matches nothing at the default tolerance.
const std::vector<int> COPY_A = {200, 600, 1000, 1400, 1800, 2200, 2600, 3000};
const std::vector<int> COPY_B = {201, 598, 1003, 1400, 1805, 2200, 2609, 3000};
const std::vector<int> COPY_C = {200, 601, 1001, 1402, 1800, 2201, 2600, 3001};
const std::vector<int> COPY_D = {211, 611, 1011, 1411, 1811, 2211, 2611, 3011};

std::string copiesProject(const TempDir& t, const std::vector<std::vector<int>>& standard = {
                                                COPY_A, COPY_B, COPY_C, COPY_D}) {
    ProjectShape p;
    p.lanes = (int)standard.size();
    p.rowLength = 300;
    p.imageWidth = 300;
    std::string dir = t / "copies";
    run("/bin/mkdir", {dir});
    std::vector<BandRecord> bands;
    std::vector<std::string> names;
    for (int lane = 0; lane < p.lanes; lane++) {
        for (int s : standard[lane])
            bands.push_back({lane, s / 16.0});
        names.push_back(nameEntry(lane, "+", "c", "d"));
    }
    TraceBody body(p);
    writeProject(dir, {infoText(p), rawBandsText(bands), tracesText(p, body),
                       normFacText(p, linearCalibration(16, 256)), namesText(names)});
    return dir;
}

} // namespace

// By hand: |difference| of the pairs of matching copies, A-B 1 2 3 0 5 0 9 0,
// A-C 0 1 1 2 0 1 0 1, B-C 1 3 2 2 5 1 9 1. Sorted, 24 values: six 0, eight
// 1, four 2, two 3, two 5, two 9. Median: rank 12, 1. 95th percentile: rank
// ceil(22.8) = 23, 9 (the 9s lie beyond the default tolerance: a window of
// 7 would have cut them off and suggested 5). D's pairs do not count.
TEST(ReportReplicates, SpreadOfMatchingCopiesSuggestsATolerance) {
    TempDir t;
    std::string dir = copiesProject(t);
    RunResult r = runReport({dir});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string html = readFile(dir + "/report.html");
    EXPECT_EQ(countOf(html, "<tr class=\"replicate mismatch\">"), 3);
    EXPECT_NE(html.find("<table class=\"facts spread\">\n"
                        "<tr><th>Matched bands</th><td class=\"num\">24</td></tr>\n"
                        "<tr><th>Median |difference|</th><td class=\"num\">1</td></tr>\n"
                        "<tr><th>95th percentile |difference|</th><td class=\"num\">9</td></tr>\n"
                        "<tr><th>Suggested tolerance</th><td class=\"num\">9</td></tr>\n"),
              std::string::npos);
    EXPECT_NE(html.find("the smallest whole tolerance at or above the 95th percentile of "
                        "|difference|, at least 1"),
              std::string::npos);
    std::string figures = readFile(dir + "/report-summary.tsv");
    EXPECT_NE(figures.find("replicate_warnings\t3\nsuggested_tolerance\t9\n"), std::string::npos)
        << figures;

    // Nearest bands pair up, not the first within the window; ties go to
    // the lower band; identical copies still suggest 1.
    EXPECT_EQ(nearestBandDifferences({100, 110}, {108}, SPREAD_WINDOW), std::vector<int>{2});
    EXPECT_EQ(nearestBandDifferences({100}, {97, 103}, SPREAD_WINDOW), std::vector<int>{3});
    EXPECT_EQ(nearestBandDifferences({100}, {120}, SPREAD_WINDOW), std::vector<int>{});
    EXPECT_EQ(bandSpread({0, 0, 0}).suggestedTolerance, 1);
    EXPECT_FALSE(bandSpread({}).any());
}

TEST(ReportReplicates, TrueReplicatesShowNoWarning) {
    TempDir t;
    std::string html = reportOf(t, {"--seed", "3", "--true-replicates"});
    EXPECT_EQ(countOf(html, "<section id=\"replicates\">"), 1);
    EXPECT_EQ(countOf(html, "<li class=\"replicate-warning\""), 0);
    EXPECT_EQ(countOf(html, "<tr class=\"replicate\">"), 2);
    EXPECT_NE(html.find("<p class=\"ok\">All 2 pairs of copies match.</p>"), std::string::npos);

    std::vector<ReplicatePair> pairs = pairsOf(t / "gel");
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(replicateWarnings(pairs), 0);
    for (const ReplicatePair& p : pairs) {
        EXPECT_LT(p.first, p.second);
        EXPECT_LT(p.score, 1e-20);
        EXPECT_EQ(p.shared, p.bandsFirst);
    }
}

TEST(ReportReplicates, AMismatchedCopyIsWarnedAbout) {
    TempDir t;
    std::string html = reportOf(t, {"--seed", "3", "--mismatched-replicate"});
    EXPECT_EQ(countOf(html, "<li class=\"replicate-warning\""), 1);
    EXPECT_EQ(countOf(html, "<tr class=\"replicate mismatch\">"), 1);
    EXPECT_NE(html.find("EcoRI: copies 0 and 1 (samples 3 and 15) share 0 of 18 and 21 bands, "
                        "score 1 above 1e-06: the copies do not match (a mis-loaded lane or a "
                        "failed digest).</li>"),
              std::string::npos);
    // The lane checks know nothing of it.
    EXPECT_NE(html.find("<p class=\"ok\">No warnings"), std::string::npos);

    std::vector<ReplicatePair> pairs = pairsOf(t / "gel");
    EXPECT_EQ(replicateWarnings(pairs), 1);
}

// Copies A and D alone: their one pair does not match, so no copies
// measure the gel's noise, and the page says that.
TEST(ReportReplicates, CopiesThatAllDisagreeSuggestNoTolerance) {
    TempDir t;
    std::string dir = copiesProject(t, {COPY_A, COPY_D});
    RunResult r = runReport({dir});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string html = readFile(dir + "/report.html");
    EXPECT_EQ(countOf(html, "<tr class=\"replicate mismatch\">"), 1);
    EXPECT_NE(html.find("<p class=\"no-spread\">No pair of copies matches, so none measures "
                        "the gel's noise: the gel suggests no tolerance.</p>"),
              std::string::npos);
    EXPECT_EQ(countOf(html, "No bands of matching copies pair up"), 0);
    EXPECT_NE(readFile(dir + "/report-summary.tsv").find("\nsuggested_tolerance\tnone\n"),
              std::string::npos);
}

TEST(ReportReplicates, AGelWithoutCopiesSaysSo) {
    TempDir t;
    // Three clone samples: too few for the generator to repeat one.
    std::string html = reportOf(t, {"--seed", "3", "--lanes", "5"});
    EXPECT_NE(html.find("<p>No clone is loaded more than once on this gel.</p>\n"
                        "<p class=\"no-spread\">Without copies the gel cannot show its own "
                        "noise: no tolerance is suggested.</p>"),
              std::string::npos);
    EXPECT_TRUE(pairsOf(t / "gel").empty());
    EXPECT_NE(readFile(t / "gel/report-summary.tsv").find("\nsuggested_tolerance\tnone\n"),
              std::string::npos);
}
