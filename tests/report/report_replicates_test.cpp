// The replicates of a gel: copies of a clone that carry the same fragments
// match, a deliberately mismatched copy is warned about on the page, and
// replicatePairs gives the same pairs to any other caller.
#include <gtest/gtest.h>

#include "reportTestSupport.h"
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
    EXPECT_TRUE(loadReportProject(d));
    return replicatePairs(d, countNamedSamples(d));
}

} // namespace

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

TEST(ReportReplicates, AGelWithoutCopiesSaysSo) {
    TempDir t;
    // Three clone samples: too few for the generator to repeat one.
    std::string html = reportOf(t, {"--seed", "3", "--lanes", "5"});
    EXPECT_NE(html.find("<p>No clone is loaded more than once on this gel.</p>"),
              std::string::npos);
    EXPECT_TRUE(pairsOf(t / "gel").empty());
}
