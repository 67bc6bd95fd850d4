// The many-gels workflow's summary page, index.html, in a real browser:
// written by workflow/scripts/batch_summary.py for a batch of one reported
// gel and one failed gel, then rendered by headless Chromium like the
// report. Runs only where Chromium is installed.
#include <gtest/gtest.h>

#include "browserSupport.h"
#include "reportTestSupport.h"

using namespace zetest;

namespace {

class BatchSummaryBrowser : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fileExists(CHROMIUM)) GTEST_SKIP() << CHROMIUM << " is not installed";
        std::string example = std::string(ZE_SOURCE_DIR) + "/examples/project";
        for (const char* dir : {"gels", "batch", "batch/done", "batch/logs"})
            ASSERT_EQ(run("/bin/mkdir", {t / dir}).status, 0);
        // The state a batch leaves: the good gel done and reported, the
        // broken one failed with the step's error line in its log.
        ASSERT_EQ(run("/bin/cp", {"-r", example, t / "gels/good"}).status, 0);
        ASSERT_EQ(runReport({t / "gels/good"}).status, 0);
        writeFile(t / "batch/done/good", "");
        writeFile(t / "batch/logs/good.log", "Load project\n");
        ASSERT_EQ(run("/bin/cp", {"-r", example, t / "gels/broken"}).status, 0);
        writeFile(t / "batch/logs/broken.log",
                  "Load project\nERROR: corrupted norm-facs file\njob ended with exit status 1\n");

        RunResult r = run("/usr/bin/python3",
                          {"-B", std::string(ZE_SOURCE_DIR) + "/workflow/scripts/batch_summary.py",
                           "gels", "batch"},
                          "", t / "");
        ASSERT_EQ(r.status, 0) << r.err;
        url = "file://" + t / "batch/index.html";
    }
    TempDir t;
    std::string url;
};

} // namespace

TEST_F(BatchSummaryBrowser, RendersCleanlyWithOneRowPerGelLinkingItsReportOrLog) {
    PageRendering page = renderPage(t, url, 1200, 400);
    expectRenderedCleanly(page, 1200, 0.005);

    const std::string& dom = page.run.out;
    EXPECT_EQ(countOf(dom, "<table class=\"gels\">"), 1);
    EXPECT_EQ(countOf(dom, "<tr class=\"gel "), 2);
    EXPECT_EQ(countOf(dom, "<tr class=\"gel failed\" data-gel=\"broken\">"), 1);
    EXPECT_EQ(countOf(dom, "<a href=\"logs/broken.log\">failed</a>"), 1);
    EXPECT_EQ(countOf(dom, "<a href=\"../gels/good/report.html\">done</a>"), 1);
    EXPECT_TRUE(fileExists(t / "batch/../gels/good/report.html"));
    EXPECT_EQ(countOf(dom, "ERROR: corrupted norm-facs file"), 1);
    // The good gel's figures: the example's 25 lanes, 18 named samples, 423
    // accepted and 76 dropped bands.
    EXPECT_NE(dom.find("<td class=\"num\">25</td><td class=\"num\">18</td>"
                       "<td class=\"num\">423</td><td class=\"num\">76</td>"),
              std::string::npos);
    EXPECT_EQ(countOf(dom, "<script"), 0);
}
