// zeContig's page in a real browser, as the other pages are tested:
// headless Chromium renders it without a complaint, and the DOM it builds
// holds each contig's drawing with the contig's clones in order. Runs only
// where Chromium is installed.
#include <gtest/gtest.h>

#include "browserSupport.h"
#include "mapTestSupport.h"
#include "pageTestSupport.h"
#include "reportTestSupport.h"

using namespace zetest;

namespace {

class ContigBrowser : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fileExists(CHROMIUM)) GTEST_SKIP() << CHROMIUM << " is not installed";
        std::vector<std::string> args = {"-t", "2", "--html", t / "map.html", "-o", t / "map.tsv"};
        for (const std::string& f : pageLibrary(t))
            args.push_back(f);
        RunResult r = runContig(args);
        ASSERT_EQ(r.status, 0) << r.err;
        url = "file://" + t / "map.html";
    }
    TempDir t;
    std::string url;
};

} // namespace

TEST_F(ContigBrowser, RendersCleanlyEachDrawingHoldingItsContigsClonesInOrder) {
    PageRendering page = renderPage(t, url);
    expectRenderedCleanly(page, 1400, 0.01);

    const std::string& dom = page.run.out;
    for (const char* id : {"overview", "settings", "contigs"})
        EXPECT_EQ(countOf(dom, std::string("<section id=\"") + id + "\">"), 1) << id;
    // The histogram, the legend, and two per contig (its rows, its depth).
    EXPECT_EQ(countOf(dom, "<svg "), 2 + 2 * 2);
    const std::string table = readFile(t / "map.tsv");
    for (int contig : {1, 2}) {
        std::vector<std::string> rows = drawnRows(dom, contig);
        EXPECT_GT(rows.size(), 20u) << contig;
        EXPECT_EQ(rows, tableRowsNotBuried(table, contig)) << contig;
        EXPECT_EQ(countOf(contigSection(dom, contig), "<path class=\"cover\""), 1);
    }
}
