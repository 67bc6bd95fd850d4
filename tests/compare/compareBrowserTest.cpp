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

TEST_F(CompareBrowser, RendersWithoutConsoleErrors) {
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
    size_t ink = 0;
    for (unsigned char v : image.pixels)
        ink += v < 200;
    EXPECT_GT(ink, image.pixels.size() / 100);
}

TEST_F(CompareBrowser, BuildsTheSectionsTheTreeAndTheHeatmap) {
    std::vector<std::string> args = chromiumArgs(t, "profile-dom");
    args.push_back("--dump-dom");
    args.push_back(url);
    RunResult r = run(CHROMIUM, args);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string& dom = r.out;
    for (const char* id : {"summary", "pairs", "tree", "heatmap"})
        EXPECT_EQ(countOf(dom, std::string("<section id=\"") + id + "\">"), 1) << id;
    EXPECT_EQ(countOf(dom, "<svg "), 2);
    EXPECT_EQ(countOf(dom, "<path class=\"branch\""), 1);
    EXPECT_EQ(countOf(dom, "<image class=\"heat\""), 1);
    EXPECT_EQ(countOf(dom, "<tr class=\"pair\">"), 50);
}
