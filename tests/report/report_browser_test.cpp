// The example project's page in a real browser: headless Chromium renders
// it to a screenshot and dumps the DOM it built. Runs only where Chromium
// is installed (Debian's chromium package).
#include <gtest/gtest.h>

#include "browserSupport.h"
#include "reportTestSupport.h"

using namespace zetest;

namespace {

class ReportBrowser : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fileExists(CHROMIUM)) GTEST_SKIP() << CHROMIUM << " is not installed";
        dir = t / "example";
        ASSERT_EQ(
            run("/bin/cp", {"-r", std::string(ZE_SOURCE_DIR) + "/examples/project", dir}).status,
            0);
        ASSERT_EQ(runReport({dir}).status, 0);
        url = "file://" + dir + "/report.html";
    }
    TempDir t;
    std::string dir, url;
};

} // namespace

TEST_F(ReportBrowser, RendersCleanlyWithTheSectionsAndOnePlotPerLane) {
    PageRendering page = renderPage(t, url);
    // Text, tables and plots: a fair share of the picture is not background.
    expectRenderedCleanly(page, 1400, 0.01);
    EXPECT_EQ(page.height, 2000);

    const std::string& dom = page.run.out;
    for (const char* id : {"summary", "calibration", "gel"})
        EXPECT_EQ(countOf(dom, std::string("<section id=\"") + id + "\">"), 1) << id;
    EXPECT_EQ(countOf(dom, "<svg class=\"lane-plot\""), 25);
    // The lane plots, the overview of lane offsets and the gel.
    EXPECT_EQ(countOf(dom, "<svg "), 27);
    EXPECT_EQ(countOf(dom, "<image "), 18);
    EXPECT_EQ(countOf(dom, "<tr class=\"sample"), 18);
}
