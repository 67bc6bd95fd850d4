#include "browserSupport.h"

#include <gtest/gtest.h>

#include "reportTestSupport.h"

namespace zetest {

const char* const CHROMIUM = "/usr/bin/chromium";

std::vector<std::string> chromiumArgs(const TempDir& t, const std::string& profile) {
    return {"--headless",
            "--no-sandbox",
            "--disable-gpu",
            "--disable-quic",
            "--no-first-run",
            "--disable-background-networking",
            "--disable-component-update",
            "--disable-sync",
            "--user-data-dir=" + t / profile};
}

std::vector<std::string> pageProblems(const std::string& log) {
    std::vector<std::string> problems;
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        if (end == std::string::npos) end = log.size();
        std::string line = log.substr(start, end - start);
        for (const char* sign : {"Uncaught", "CONSOLE", "Not allowed to load", "net::ERR_"})
            if (line.find(sign) != std::string::npos) {
                problems.push_back(line);
                break;
            }
        start = end + 1;
    }
    return problems;
}

PageRendering renderPage(const TempDir& t, const std::string& url, int windowWidth,
                         int windowHeight) {
    std::string shot = t / "shot.png";
    std::vector<std::string> args = chromiumArgs(t, "profile-shot");
    std::vector<std::string> more = {"--enable-logging=stderr", "--v=0", "--dump-dom", "--screenshot=" + shot,
                                     "--window-size=" + std::to_string(windowWidth) + "," +
                                         std::to_string(windowHeight),
                                     url};
    args.insert(args.end(), more.begin(), more.end());
    PageRendering page;
    page.run = run(CHROMIUM, args);
    page.problems = pageProblems(page.run.err);
    GreyImage image;
    if (!decodePng(readFile(shot), image) || image.pixels.empty()) return page;
    page.width = image.width;
    page.height = image.height;
    size_t ink = 0;
    for (unsigned char v : image.pixels)
        ink += v < 200;
    page.inkShare = (double)ink / (double)image.pixels.size();
    return page;
}

void expectRenderedCleanly(const PageRendering& page, int width, double minInk) {
    EXPECT_EQ(page.run.status, 0) << page.run.err;
    EXPECT_EQ(page.problems, std::vector<std::string>());
    EXPECT_EQ(page.width, width);
    EXPECT_GT(page.inkShare, minInk);
}

} // namespace zetest
