// zeContig --html end to end: the page leaves the table as it was, holds
// every clone of a drawn contig once (rows in the table's order, buried
// clones in the row they lie in), lists the chimeric clone by both
// contigs, escapes names; its output is checked like the table's.
#include <gtest/gtest.h>

#include "mapTestSupport.h"
#include "pageTestSupport.h"

using namespace zetest;

namespace {

int count(const std::string& text, const std::string& needle) {
    int n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(ContigPage, DrawsEveryCloneOfTheContigsInTheTablesOrder) {
    TempDir t;
    std::vector<std::string> files = pageLibrary(t);
    std::vector<std::string> args = {"-t", "2", "--html", t / "map.html", "-o", t / "map.tsv"};
    args.insert(args.end(), files.begin(), files.end());
    RunResult r = runContig(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");

    // The table is the one written without a page.
    std::vector<std::string> plain = {"-t", "2"};
    plain.insert(plain.end(), files.begin(), files.end());
    const std::string table = readFile(t / "map.tsv");
    EXPECT_EQ(runContig(plain).out, table);
    auto byClone = rowsByClone(contigRows(table));
    ASSERT_EQ(byClone.at("X").status, "chimeric");
    ASSERT_EQ(byClone.at("Bur<&>").status, "buried");
    ASSERT_EQ(byClone.at("A100").contig, 1);

    const std::string page = readFile(t / "map.html");
    EXPECT_EQ(page.substr(0, 15), "<!DOCTYPE html>");
    EXPECT_EQ(count(page, "<section class=\"contig\""), 2);
    EXPECT_EQ(count(page, "http"), count(page, "xmlns=\"http://www.w3.org/2000/svg\""));
    EXPECT_NE(page.find("<th>Contigs</th><td>2 "), std::string::npos);
    EXPECT_NE(page.find("<th>Chimeric</th><td>1 "), std::string::npos);
    EXPECT_NE(page.find("the table <code>" + t / "map.tsv" + "</code>"), std::string::npos);
    for (int contig : {1, 2}) {
        const std::string section = contigSection(page, contig);
        std::vector<std::string> rows = drawnRows(page, contig);
        EXPECT_EQ(rows, tableRowsNotBuried(table, contig)) << contig;
        // Each clone of the contig is one bar with its own title.
        int clones = 0;
        for (const auto& [name, row] : byClone)
            clones += row.contig == contig;
        EXPECT_EQ(count(section, "<title>"), clones) << contig;
        EXPECT_NE(section.find("<span class=\"chimeric\">X (gel 2, #31)</span> to contigs 1, 2"),
                  std::string::npos)
            << contig;
    }
    // The buried clone under the row of the clone it lies in, escaped.
    const std::string first = contigSection(page, 1);
    EXPECT_EQ(count(first, "Bur&lt;&amp;&gt; (gel 1, #41)"), 1);
    EXPECT_EQ(first.find("Bur<"), std::string::npos);
    EXPECT_EQ(count(first, ">A&lt;&#39;&quot;&amp;&gt;</text>"), 1);
    EXPECT_EQ(first.find("A<"), std::string::npos);
    EXPECT_EQ(count(first, ">+1</text>"), 1);
}

TEST(ContigPage, OutputChecks) {
    TempDir t;
    std::vector<std::string> files = pageLibrary(t);
    const std::string page = t / "map.html", previous = "an earlier page\n";
    writeFile(page, previous);
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{"--html", page, "-o", page, files[0]},
         "ERROR: the table and the page are one file, '" + page + "'\n"},
        {{"--html", files[1], files[0], files[1]},
         "ERROR: the page '" + files[1] + "' is the bands file '" + files[1] +
             "': it would be written over\n"},
        // Found before anything is read: the input is not even there.
        {{"--html", t / "no/such/map.html", t / "missing.bands"},
         "ERROR: couldn't write '" + t / "no/such/map.html" + "': No such file or directory\n"},
        {{"--html", page, files[0], t / "missing.bands"},
         "ERROR: couldn't read '" + t / "missing.bands" + "': No such file or directory\n"},
        {{"--html=", files[0]}, "ERROR: --html needs a file name (zeContig -h for help)\n"},
        {{files[0], "--html"}, "ERROR: --html needs a value (zeContig -h for help)\n"},
    };
    for (const Case& c : cases) {
        RunResult r = runContig(c.args);
        EXPECT_EQ(r.status, 1) << c.error;
        EXPECT_EQ(r.err, c.error);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(readFile(page), previous) << c.error;
        EXPECT_EQ(readFile(files[1]).substr(0, 9), "         ");
        EXPECT_EQ(listDir(t.path()).size(), 3u) << "a temporary file was left";
    }
    // The table on standard output with the page beside it.
    RunResult r = runContig({"--html", page, files[0]});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 7), "contig\t");
    EXPECT_NE(readFile(page).find("the table zeContig wrote on standard output"), std::string::npos);
}
