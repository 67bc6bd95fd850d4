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

TEST_F(ReportBrowser, RendersWithoutConsoleErrors) {
    std::string shot = t / "shot.png";
    std::vector<std::string> args = chromiumArgs(t, "profile-shot");
    std::vector<std::string> more = {"--enable-logging=stderr", "--v=0", "--screenshot=" + shot,
                                     "--window-size=1400,2000", url};
    args.insert(args.end(), more.begin(), more.end());
    RunResult r = run(CHROMIUM, args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(pageProblems(r.err), std::vector<std::string>());

    GreyImage image;
    ASSERT_TRUE(decodePng(readFile(shot), image));
    EXPECT_EQ(image.width, 1400);
    EXPECT_EQ(image.height, 2000);
    // Text, tables and plots: a fair share of the picture is not background.
    size_t ink = 0;
    for (unsigned char v : image.pixels)
        ink += v < 200;
    EXPECT_GT(ink, image.pixels.size() / 100);
}

TEST_F(ReportBrowser, BuildsTheSectionsAndOnePlotPerLane) {
    std::vector<std::string> args = chromiumArgs(t, "profile-dom");
    args.push_back("--dump-dom");
    args.push_back(url);
    RunResult r = run(CHROMIUM, args);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string& dom = r.out;
    for (const char* id : {"summary", "calibration", "gel"})
        EXPECT_EQ(countOf(dom, std::string("<section id=\"") + id + "\">"), 1) << id;
    EXPECT_EQ(countOf(dom, "<svg class=\"lane-plot\""), 25);
    // The lane plots, the overview of lane offsets and the gel.
    EXPECT_EQ(countOf(dom, "<svg "), 27);
    EXPECT_EQ(countOf(dom, "<image "), 18);
    EXPECT_EQ(countOf(dom, "<tr class=\"sample"), 18);
}
