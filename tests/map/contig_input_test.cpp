// zeContig's input and output checks: bad input ends with one ERROR line,
// status 1 and the previous table left as it was; tiny libraries.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "mapTestSupport.h"
#include "zeChancePairs.h"

using namespace zetest;

namespace {

std::string twoClones() {
    std::vector<int> genome = fragmentBands(60, 5);
    return bandsFile({cloneOf("a", genome, 0, 30), cloneOf("b", genome, 30, 30)}, "1");
}

} // namespace

TEST(ContigInput, BadInputWritesNothingAndKeepsThePreviousTable) {
    TempDir t;
    const std::string good = t / "1.bands", table = t / "map.tsv", link = t / "link.bands";
    writeFile(good, twoClones());
    writeFile(t / "bad.bands", "         a 2 1\n5\n-1\n");
    writeFile(t / "blank.bands", "         a 1 1\nx\n-1\n");
    ASSERT_EQ(symlink(good.c_str(), link.c_str()), 0);
    const std::string previous = "an earlier table\n";
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{good, t / "missing.bands"}, "ERROR: couldn't read '" + t / "missing.bands" + "': No such file or directory\n"},
        {{good, t / "bad.bands"}, "ERROR: " + t / "bad.bands" + ":3: clone 'a' has 1 bands but its header says 2\n"},
        {{t / "blank.bands"}, "ERROR: " + t / "blank.bands" + ":2: "},
        {{good, good}, "ERROR: the bands file '" + good + "' is given twice\n"},
        {{good, link}, "ERROR: the bands files '" + good + "' and '" + link + "' are one file, given twice\n"},
        {{"-t", "0", good}, "ERROR: -t needs a whole number from 1 to 2299, not '0' (zeContig -h for help)\n"},
        {{"-c", "0", good}, "ERROR: -c needs a number above 0, not '0' (zeContig -h for help)\n"},
        {{"-j", "x", good}, "ERROR: -j needs a whole number from 1 to 1024, not 'x' (zeContig -h for help)\n"},
        {{"--frobnicate", good}, "ERROR: unknown option '--frobnicate' (zeContig -h for help)\n"},
        {{good, "-t"}, "ERROR: -t needs a value (zeContig -h for help)\n"},
        {{}, "ERROR: no bands file given (zeContig -h for help)\n"},
    };
    for (const Case& c : cases) {
        writeFile(table, previous);
        std::vector<std::string> args = {"-o", table};
        args.insert(args.end(), c.args.begin(), c.args.end());
        RunResult r = runContig(args);
        EXPECT_EQ(r.status, 1) << c.error;
        EXPECT_EQ(r.err.substr(0, c.error.size()), c.error);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(readFile(table), previous) << c.error;
        EXPECT_EQ(listDir(t.path()).size(), 5u) << "a temporary file was left";
    }
    // The table over an input, and a table that cannot be written: found
    // before anything is read (the input here is not even there).
    RunResult over = runContig({"-o", good, good});
    EXPECT_EQ(over.err, "ERROR: the table '" + good + "' is the bands file '" + good +
                            "': it would be written over\n");
    RunResult nowhere = runContig({"-o", t / "no/such/dir/map.tsv", t / "missing.bands"});
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_EQ(nowhere.err, "ERROR: couldn't write '" + t / "no/such/dir/map.tsv" +
                               "': No such file or directory\n");
}

TEST(ContigInput, TableReplacesTheTargetOfALinkAndKeepsTheLink) {
    TempDir t;
    writeFile(t / "1.bands", twoClones());
    writeFile(t / "real.tsv", "old\n");
    ASSERT_EQ(symlink("real.tsv", (t / "map.tsv").c_str()), 0);
    RunResult r = runContig({"-o", t / "map.tsv", t / "1.bands"});
    ASSERT_EQ(r.status, 0) << r.err;
    struct stat st;
    ASSERT_EQ(lstat((t / "map.tsv").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readFile(t / "real.tsv").substr(0, 7), "contig\t");
}

TEST(ContigInput, TinyLibraries) {
    TempDir t;
    std::vector<int> genome = fragmentBands(90, 6);
    // One clone; clones that overlap nothing; an empty fingerprint.
    writeFile(t / "one.bands", bandsFile({cloneOf("solo", genome, 0, 30)}, "1"));
    writeFile(t / "apart.bands", bandsFile({cloneOf("p", genome, 0, 30), cloneOf("q", genome, 30, 30),
                                            cloneOf("r", genome, 60, 30), {"empty", {}}},
                                           "2"));
    RunResult one = runContig({t / "one.bands"});
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, "contig\tclone\tgel\tordinal\tleft\tright\tstatus\tburied_in\tlinks\n"
                       "0\tsolo\t1\t1\t-\t-\tok\t-\t-\n");
    RunResult apart = runContig({t / "apart.bands"});
    ASSERT_EQ(apart.status, 0) << apart.err;
    std::vector<ContigRow> rows = contigRows(apart.out);
    ASSERT_EQ(rows.size(), 4u);
    for (const ContigRow& r : rows)
        EXPECT_EQ(r.contig, 0) << r.clone;
    EXPECT_EQ(rows[0].clone, "empty");
}

TEST(ContigInput, ACutoffLettingPairsThroughByChanceIsWarnedOf) {
    // 4 fingerprints make 6 pairs: at 0.2 about 1 passes by chance, at 0.1
    // less than one. The warning goes to standard error, and the page
    // says it too; the table is written all the same.
    TempDir t;
    std::vector<int> genome = fragmentBands(90, 6);
    writeFile(t / "1.bands", bandsFile({cloneOf("p", genome, 0, 30), cloneOf("q", genome, 20, 30),
                                        cloneOf("r", genome, 40, 30), cloneOf("s", genome, 60, 30)},
                                       "1"));
    RunResult loose = runContig({"-c", "0.2", "--html", t / "map.html", t / "1.bands"});
    EXPECT_EQ(loose.status, 0) << loose.err;
    EXPECT_EQ(loose.err, "WARNING: at cutoff 0.2, about 1 of the 6 pairs of the 4 fingerprints pass "
                         "by chance alone, and each may join two places of the genome: a lower "
                         "cutoff (-c) keeps them out\n");
    EXPECT_EQ(contigRows(loose.out).size(), 4u);
    EXPECT_NE(readFile(t / "map.html").find("of the library's pairs, about 1 pass by chance alone"),
              std::string::npos);
    RunResult tight = runContig({"-c", "0.1", t / "1.bands"});
    EXPECT_EQ(tight.status, 0) << tight.err;
    EXPECT_EQ(tight.err, "");
    EXPECT_EQ(chancePairs(0, 1e-3), 0);
    EXPECT_EQ(chancePairs(20000, 1e-6), 20000.0 * 19999 / 2 * 1e-6);
}
