// zeCompare end to end on bands files that zeStep5 wrote from generated
// gels: copies of a clone score far below the cutoff, unrelated clones do
// not, fingerprints of several gels are told apart, bad input and outputs
// that cannot be written end with one ERROR line and status 1.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <map>
#include <set>

#include "compareTestSupport.h"

using namespace zetest;

namespace {

const char* HEADER =
    "clone1\tgel1\tordinal1\tbands1\tclone2\tgel2\tordinal2\tbands2\tshared\tscore\tdice";

int countOf(const std::string& text, const std::string& needle) {
    int n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        n++;
    return n;
}

// (clone, gel) -> number of fingerprints in a bands file.
std::map<std::string, int> blocks(const std::string& bandsText) {
    std::map<std::string, int> n;
    for (const auto& row : tableRows(bandsText))
        if (row[0].rfind("         ", 0) == 0) n[row[0]]++;
    return n;
}

} // namespace

TEST(CompareEndToEnd, CopiesOfACloneScoreFarBelowTheCutoffAndUnrelatedClonesDoNot) {
    TempDir t;
    std::string bands = normalisedGel(t / "g", 3, {"--true-replicates"});
    RunResult r = runCompare({bands});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    auto rows = tableRows(r.out);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), HEADER);
    // The gel loads two clones twice; those pairs, and only those, pass.
    std::set<std::string> twice;
    for (const auto& b : blocks(readFile(bands)))
        if (b.second > 1) twice.insert(b.first);
    EXPECT_EQ(twice.size(), 2u);
    EXPECT_EQ(rows.size(), 1 + twice.size());
    for (size_t k = 1; k < rows.size(); k++) {
        const auto& row = rows[k];
        ASSERT_EQ(row.size(), 11u);
        EXPECT_EQ(row[0], row[4]);
        EXPECT_EQ(row[1], "17");
        EXPECT_LT(std::stoi(row[2]), std::stoi(row[6])); // copies told apart
        EXPECT_LT(std::atof(row[9].c_str()), 1e-20) << row[9];
        EXPECT_EQ(row[8], row[3]); // every band matched
        EXPECT_EQ(row[10], "1.000");
    }
    // With -c 1 every pair appears; the others all score above 1e-6.
    RunResult all = runCompare({"-c", "1", bands});
    ASSERT_EQ(all.status, 0) << all.err;
    auto allRows = tableRows(all.out);
    size_t n = 0;
    for (const auto& b : blocks(readFile(bands)))
        n += b.second;
    ASSERT_EQ(allRows.size(), 1 + n * (n - 1) / 2);
    for (size_t k = 1; k < allRows.size(); k++) {
        if (allRows[k][0] == allRows[k][4]) continue;
        EXPECT_GT(std::atof(allRows[k][9].c_str()), 1e-6);
    }
}

TEST(CompareEndToEnd, WithoutTrueReplicatesTheCopiesDoNotMatch) {
    TempDir t;
    std::string bands = normalisedGel(t / "g", 3, {});
    RunResult r = runCompare({bands});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string(HEADER) + "\n");
}

TEST(CompareEndToEnd, FingerprintsOfSeveralGelsCarryTheirGelNumbers) {
    TempDir t;
    std::string a = normalisedGel(t / "a", 3, {"--true-replicates", "--gel-number", "21"});
    std::string b = normalisedGel(t / "b", 3, {"--true-replicates", "--gel-number", "22"});
    // The same seed gives the same clones on both gels: each clone of gel
    // 21 meets itself on gel 22.
    RunResult r = runCompare({"-t", "7", "-c", "1e-12", a, b});
    ASSERT_EQ(r.status, 0) << r.err;
    int across = 0;
    for (const auto& row : tableRows(r.out)) {
        if (row[0] == "clone1") continue;
        EXPECT_EQ(row[0], row[4]);
        across += row[1] == "21" && row[5] == "22";
    }
    EXPECT_GT(across, 10);
}

TEST(CompareEndToEnd, BadInputGivesOneErrorLineAndStatusOne) {
    TempDir t;
    std::string good = t / "good.bands";
    writeFile(good, "         bA 2 5\n10\n20\n-1\n         bB 2 5\n11\n21\n-1\n");
    struct Case {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{t / "none.bands"}, "ERROR: couldn't read '" + t / "none.bands" + "': No such file or directory\n"},
        {{"-t", "x", good}, "ERROR: -t needs a whole number from 1 to 2299, not 'x' (zeCompare -h for help)\n"},
        {{"-t", "2300", good}, "ERROR: -t needs a whole number from 1 to 2299, not '2300' (zeCompare -h for help)\n"},
        {{"-t", "0", good}, "ERROR: -t needs a whole number from 1 to 2299, not '0' (zeCompare -h for help)\n"},
        {{"-c", "-1", good}, "ERROR: -c needs a number of 0 or more, not '-1' (zeCompare -h for help)\n"},
        {{"-c", "nan", good}, "ERROR: -c needs a number of 0 or more, not 'nan' (zeCompare -h for help)\n"},
        {{"--html"}, "ERROR: --html needs a value (zeCompare -h for help)\n"},
        {{"-q", good}, "ERROR: unknown option '-q' (zeCompare -h for help)\n"},
        {{}, "ERROR: no bands file given (zeCompare -h for help)\n"},
    };
    for (const Case& c : cases) {
        RunResult r = runCompare(c.args);
        EXPECT_EQ(r.status, 1) << c.err;
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
    }
    // A bad file after a good one: nothing is written.
    std::string bad = t / "bad.bands";
    writeFile(bad, "         bC 3 6\n10\n20\n-1\n");
    RunResult r = runCompare({good, bad});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: " + bad + ":4: clone 'bC' has 2 bands but its header says 3\n");
    EXPECT_EQ(r.out, "");

    RunResult help = runCompare({"-h"});
    EXPECT_EQ(help.status, 0);
    for (const char* opt : {"-t TOL", "-c CUTOFF", "--html FILE", "BANDSFILE"})
        EXPECT_NE(help.out.find(opt), std::string::npos) << opt;
}

TEST(CompareEndToEnd, VersionNeedsNoBandsFile) {
    RunResult r = runCompare({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "zeCompare (zestep) 1.0\n");
    EXPECT_EQ(r.err, "");
}

TEST(CompareEndToEnd, OutputsThatCannotBeWrittenFailAndLeaveNoPartialPage) {
    TempDir t;
    std::string bands = normalisedGel(t / "g", 3, {"--true-replicates"});
    // Standard output on a full device.
    RunResult full = run("/bin/sh", {"-c", std::string(ZECOMPARE_BIN) + " -c 1 '" + bands + "' > /dev/full"});
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "ERROR: couldn't write 'standard output': No space left on device\n");

    // A page in a directory that does not exist.
    RunResult noDir = runCompare({"--html", t / "missing/page.html", bands});
    EXPECT_EQ(noDir.status, 1);
    EXPECT_EQ(noDir.err,
              "ERROR: couldn't write '" + t / "missing/page.html" + "': No such file or directory\n");

    // The page is checked before any bands file is read.
    RunResult first = runCompare({"--html", t / "missing/page.html", t / "none.bands"});
    EXPECT_EQ(first.status, 1);
    EXPECT_EQ(first.err,
              "ERROR: couldn't write '" + t / "missing/page.html" + "': No such file or directory\n");
    EXPECT_EQ(first.out, "");
    RunResult dir = runCompare({"--html", t.path(), bands});
    EXPECT_EQ(dir.status, 1);
    EXPECT_EQ(dir.err, "ERROR: couldn't write '" + t.path() + "': Is a directory\n");
    EXPECT_EQ(dir.out, "");

    // A page on a full device: the device stays.
    RunResult dev = runCompare({"--html", "/dev/full", bands});
    EXPECT_EQ(dev.status, 1);
    EXPECT_EQ(dev.err, "ERROR: couldn't write '/dev/full': No space left on device\n");
    EXPECT_TRUE(fileExists("/dev/full"));

    // A page cut short by the file size limit is removed.
    std::string page = t / "page.html";
    RunResult cut = run("/bin/sh", {"-c", "trap '' XFSZ; ulimit -f 4; exec " +
                                              std::string(ZECOMPARE_BIN) + " --html '" + page +
                                              "' '" + bands + "' > /dev/null"});
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.err, "ERROR: couldn't write '" + page + "': File too large\n");
    EXPECT_FALSE(fileExists(page));

    // A run that fails leaves an earlier page as it was and nothing beside
    // it; one that succeeds replaces it whole, readable as any new file.
    std::string pages = t / "pages";
    run("/bin/mkdir", {pages});
    writeFile(pages + "/page.html", "earlier");
    std::string bad = t / "bad.bands";
    writeFile(bad, "         bC 3 6\n10\n-1\n");
    RunResult failed = runCompare({"--html", pages + "/page.html", bands, bad});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(readFile(pages + "/page.html"), "earlier");
    EXPECT_EQ(listDir(pages), std::vector<std::string>{"page.html"});
    RunResult ok = runCompare({"--html", pages + "/page.html", bands});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_EQ(readFile(pages + "/page.html").rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_EQ(listDir(pages), std::vector<std::string>{"page.html"});
    mode_t mask = umask(0);
    umask(mask);
    struct stat st;
    ASSERT_EQ(stat((pages + "/page.html").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666 & ~mask);
}

// Ended by a signal while it waits for its input (a pipe with no writer
// yet), zeCompare removes the page it had begun.
TEST(CompareEndToEnd, AnEndingSignalLeavesNoPageBehind) {
    TempDir t;
    std::string pages = t / "pages";
    run("/bin/mkdir", {pages});
    RunResult r = run("/bin/sh", {"-c", "mkfifo '" + t / "fifo" + "' && '" + ZECOMPARE_BIN +
                                           "' --html '" + pages + "/page.html' '" + t / "fifo" +
                                           "' & n=0; while [ -z \"$(ls '" + pages +
                                           "')\" ] && [ $n -lt 3000 ]; do sleep 0.01; "
                                           "n=$((n+1)); done; ls '" + pages +
                                           "'; kill -TERM $!; wait $!; echo status $?"});
    EXPECT_EQ(r.out.rfind("page.html.", 0), 0u) << r.out; // the page begun
    EXPECT_NE(r.out.find("status 143\n"), std::string::npos) << r.out;
    EXPECT_TRUE(listDir(pages).empty());
}

TEST(CompareEndToEnd, AByteOrderMarkIsSkippedWithAWarning) {
    TempDir t;
    std::string bands = t / "5.bands";
    writeFile(bands, "\xEF\xBB\xBF         bA 2 5\n10\n20\n-1\n         bB 2 5\n11\n21\n-1\n");
    RunResult r = runCompare({"-c", "1", bands});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "WARNING: '" + bands + "' starts with a UTF-8 byte-order mark, which is skipped\n");
    EXPECT_EQ(tableRows(r.out).at(1).at(0), "bA");
}

TEST(CompareEndToEnd, PageHoldsTheStrongestPairsTheTreeAndTheHeatmap) {
    TempDir t;
    std::string bands = normalisedGel(t / "g", 3, {"--true-replicates"});
    std::string page = t / "page.html";
    RunResult r = runCompare({"-c", "1", "--html", page, bands});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string html = readFile(page);
    for (const char* id : {"summary", "pairs", "tree", "heatmap"})
        EXPECT_EQ(countOf(html, std::string("<section id=\"") + id + "\">"), 1) << id;
    EXPECT_EQ(countOf(html, "<tr class=\"pair\">"), 50);
    EXPECT_EQ(countOf(html, "<path class=\"branch\""), 1);
    EXPECT_EQ(countOf(html, "<image class=\"heat\""), 1);
    EXPECT_EQ(countOf(html, "<script"), 0);
    EXPECT_EQ(countOf(html, "http"), countOf(html, "xmlns=\"http://www.w3.org/2000/svg\""));
    // One leaf label per fingerprint, with its ordinal: copies of a clone
    // are told apart.
    size_t n = 0;
    for (const auto& b : blocks(readFile(bands)))
        n += b.second;
    EXPECT_EQ((size_t)countOf(html, ")</text>\n"), n);
    for (size_t k = 1; k <= n; k++)
        EXPECT_EQ(countOf(html, " (gel 17, #" + std::to_string(k) + ")</text>"), 1) << k;
}

// The pairs of a file whose clone is loaded twice: both copies keep their
// ordinals, in the pair list as in the table.
TEST(CompareEndToEnd, PagePairListTellsCopiesOfACloneApart) {
    TempDir t;
    std::string bands = t / "17.bands";
    writeFile(bands, "         bA 3 17\n10\n500\n900\n-1\n         bB 1 17\n3000\n-1\n"
                     "         bA 3 17\n11\n501\n901\n-1\n");
    RunResult r = runCompare({"-c", "1", "--html", t / "page.html", bands});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string html = readFile(t / "page.html");
    EXPECT_NE(html.find("<tr class=\"pair\"><td>bA (gel 17, #1)</td><td class=\"num\">3</td>"
                        "<td>bA (gel 17, #3)</td>"),
              std::string::npos);
}

TEST(CompareEndToEnd, PageForManyFingerprintsKeepsOnlyTheTable) {
    TempDir t;
    std::string bands = t / "many.bands";
    std::string text;
    for (int k = 0; k < 1001; k++) {
        text += "         c" + std::to_string(k) + " 3 9\n";
        for (int b = 0; b < 3; b++)
            text += std::to_string((k * 37 + b * 1500) % 1400 + b * 1500) + "\n";
        text += "-1\n";
    }
    writeFile(bands, text);
    std::string page = t / "page.html";
    RunResult r = runCompare({"--html", page, bands});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string html = readFile(page);
    EXPECT_NE(html.find("drawn for up to 1000 fingerprints; these files hold 1001"), std::string::npos);
    EXPECT_EQ(countOf(html, "<path class=\"branch\""), 0);
    EXPECT_EQ(countOf(html, "<section id=\"pairs\">"), 1);
}
