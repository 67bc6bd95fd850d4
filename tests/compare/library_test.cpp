// zeGenLibrary: the same seed gives the same bytes, its files are bands
// files zeCompare reads, one gel number per file and every clone named
// once, and without the library errors the pairs zeCompare reports are
// clones that overlap. The errors themselves: library_errors_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "compareTestSupport.h"

using namespace zetest;

namespace {

RunResult generateLibrary(const std::string& dir, const std::vector<std::string>& knobs) {
    std::vector<std::string> args = {"--out", dir};
    args.insert(args.end(), knobs.begin(), knobs.end());
    return run(ZE_GENLIBRARY_BIN, args);
}

struct Interval {
    long long start = 0, end = 0;
};

} // namespace

TEST(Library, SameSeedGivesTheSameBytesAndAnotherSeedOthers) {
    TempDir t;
    for (const char* dir : {"a", "b"})
        ASSERT_EQ(generateLibrary(t / dir, {"--clones", "200", "--seed", "4"}).status, 0);
    ASSERT_EQ(generateLibrary(t / "c", {"--clones", "200", "--seed", "5"}).status, 0);
    EXPECT_EQ(listDir(t / "a"),
              (std::vector<std::string>{"1.bands", "2.bands", "3.bands", "truth.tsv"}));
    EXPECT_EQ(snapshotFiles(t / "a"), snapshotFiles(t / "b"));
    EXPECT_NE(readFile(t / "a/1.bands"), readFile(t / "c/1.bands"));
    EXPECT_NE(readFile(t / "a/truth.tsv"), readFile(t / "c/truth.tsv"));
}

TEST(Library, FilesAreBandsFilesAndReportedPairsOverlap) {
    TempDir t;
    ASSERT_EQ(generateLibrary(t.path(), {"--clones", "300", "--per-gel", "100", "--seed", "2",
                                         "--perfect"})
                  .status,
              0);
    // The truth: one row per clone, on the gel of its file.
    std::map<std::string, Interval> truth;
    auto rows = tableRows(readFile(t / "truth.tsv"));
    ASSERT_EQ(rows.size(), 301u);
    EXPECT_EQ(rows[0],
              (std::vector<std::string>{"clone", "gel", "start", "end", "chimeric",
                                        "first_fragment", "last_fragment", "start2", "end2",
                                        "first_fragment2", "last_fragment2"}));
    for (size_t k = 1; k < rows.size(); k++) {
        ASSERT_EQ(rows[k].size(), 11u);
        EXPECT_EQ(rows[k][4], "0");
        EXPECT_EQ(rows[k][1], std::to_string(1 + (k - 1) / 100));
        Interval c{std::stoll(rows[k][2]), std::stoll(rows[k][3])};
        EXPECT_LT(c.start, c.end);
        EXPECT_TRUE(truth.emplace(rows[k][0], c).second) << rows[k][0] << " named twice";
    }
    EXPECT_EQ(rows[1][0], "L000001");

    RunResult r = runCompare({t / "1.bands", t / "2.bands", t / "3.bands"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, ""); // one gel number per file
    auto pairs = tableRows(r.out);
    ASSERT_GT(pairs.size(), 50u);
    for (size_t k = 1; k < pairs.size(); k++) {
        const Interval& a = truth.at(pairs[k][0]);
        const Interval& b = truth.at(pairs[k][4]);
        EXPECT_LT(std::max(a.start, b.start), std::min(a.end, b.end))
            << pairs[k][0] << " and " << pairs[k][4] << " do not overlap";
    }
}

TEST(Library, BadFlagsAreRefused) {
    TempDir t;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--clones", "0"}, {"--min-size", "40000"}, {"--noise", "-1"},
          {"--coverage", "0"}, {"--fragment-mean", "x"}, {"--genome-length", "1e15", "--fragment-mean", "1"},
          {"--frobnicate", "1"}, {"--extra-bands", "-0.1"}, {"--extra-bands", "1.5"},
          {"--missing-bands", "x"}, {"--missing-bands", "nan"}, {"--chimeric", "2"},
          {"--repeats", "0.6"}, {"--end-fragments", "yes"}, {"--vector-bands", ""},
          {"--vector-bands", "1387"}, {"--vector-bands", "4600:0.5"},
          {"--vector-bands", "1387:1.5"}, {"--vector-bands", "1387:0.5,"},
          {"--vector-bands", "none,1387:0.5"}, {"--perfect=1"}, {"--clone", "5"}, {"stray"},
          {"--repeats", "0.5", "--genome-length", "19000"}}) {
        RunResult r = generateLibrary(t / "x", args);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_EQ(r.err.rfind("ERROR: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("(zeGenLibrary -h for help)\n"), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(fileExists(t / "x")) << args[0];
    }
    RunResult help = run(ZE_GENLIBRARY_BIN, {"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* flag : {"--clones", "--seed", "--per-gel", "--fragment-mean", "--clone-mean",
                             "--clone-sd", "--min-size", "--max-size", "--noise", "--coverage",
                             "--genome-length", "--out", "--version", "--perfect", "--extra-bands",
                             "--missing-bands", "--vector-bands", "--end-fragments", "--chimeric",
                             "--repeats", "first_fragment2"})
        EXPECT_NE(help.out.find(flag), std::string::npos) << flag;
}
