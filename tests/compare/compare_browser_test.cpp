// zeCompare's page in a real browser, as the report's page is tested:
// headless Chromium renders it without a complaint and builds every
// section. Runs only where Chromium is installed.
#include <gtest/gtest.h>

#include "browserSupport.h"
#include "compareTestSupport.h"
#include "reportTestSupport.h"

using namespace zetest;

namespace {

class CompareBrowser : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fileExists(CHROMIUM)) GTEST_SKIP() << CHROMIUM << " is not installed";
        std::string a = normalisedGel(t / "a", 3, {"--true-replicates", "--gel-number", "21"});
        std::string b = normalisedGel(t / "b", 4, {"--mismatched-replicate", "--gel-number", "22"});
        RunResult r = runCompare({"-c", "1", "--html", t / "page.html", a, b});
        ASSERT_EQ(r.status, 0) << r.err;
        url = "file://" + t / "page.html";
    }
    TempDir t;
    std::string url;
};

} // namespace

TEST_F(CompareBrowser, RendersCleanlyWithTheSectionsTheTreeAndTheHeatmap) {
    PageRendering page = renderPage(t, url);
    // Text, tables and plots: a fair share of the picture is not background.
    expectRenderedCleanly(page, 1400, 0.01);
    EXPECT_EQ(page.height, 2000);

    const std::string& dom = page.run.out;
    for (const char* id : {"summary", "pairs", "tree", "heatmap"})
        EXPECT_EQ(countOf(dom, std::string("<section id=\"") + id + "\">"), 1) << id;
    EXPECT_EQ(countOf(dom, "<svg "), 2);
    EXPECT_EQ(countOf(dom, "<path class=\"branch\""), 1);
    EXPECT_EQ(countOf(dom, "<image class=\"heat\""), 1);
    EXPECT_EQ(countOf(dom, "<tr class=\"pair\">"), 50);
}
