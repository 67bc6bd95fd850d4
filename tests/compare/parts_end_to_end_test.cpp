// zeCompare --part and -j end to end on a simulated library: the parts'
// rows add up to the whole run's byte for byte, whatever the threads; and
// the slicing of the pairs itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compareTestSupport.h"
#include "zePairParts.h"

namespace {

TEST(PairParts, SlicesCoverEveryPairOnceInNearEqualShares) {
    for (long long n : {0LL, 1LL, 2LL, 3LL, 10LL, 300000LL})
        for (int parts : {1, 3, 7, 1000}) {
            long long all = n * (n - 1) / 2, end = 0;
            for (int part = 1; part <= parts; part++) {
                PairSlice s = partOfPairs(n, part, parts);
                EXPECT_EQ(s.begin, end);
                EXPECT_GE(s.end - s.begin, all / parts);
                EXPECT_LE(s.end - s.begin, (all + parts - 1) / parts);
                end = s.end;
                // The slice's first pair lies in the row that rowOfPair names.
                if (s.begin < s.end) {
                    long long row = rowOfPair(n, s.begin);
                    EXPECT_LE(pairsBeforeRow(n, row), s.begin);
                    EXPECT_GT(pairsBeforeRow(n, row + 1), s.begin);
                }
            }
            EXPECT_EQ(end, all) << n << " " << parts;
        }
}

std::vector<std::string> libraryFiles(const zetest::TempDir& dir) {
    zetest::RunResult g =
        zetest::run(ZE_GENLIBRARY_BIN, {"--out", dir.path(), "--clones", "500", "--seed", "7"});
    EXPECT_EQ(g.status, 0) << g.err;
    std::vector<std::string> files;
    for (int gel = 1; gel <= 6; gel++)
        files.push_back(dir / (std::to_string(gel) + ".bands"));
    return files;
}

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& files) {
    args.insert(args.end(), files.begin(), files.end());
    return args;
}

TEST(CompareParts, RowsOfThePartsConcatenatedAreTheRowsOfTheWholeRun) {
    // 500 fingerprints: 124,750 pairs, which neither 3 nor 7 divides.
    zetest::TempDir dir;
    std::vector<std::string> files = libraryFiles(dir);
    zetest::RunResult whole = zetest::runCompare(with({"-c", "1e-3", "-j", "1"}, files));
    ASSERT_EQ(whole.status, 0) << whole.err;
    size_t headerEnd = whole.out.find('\n') + 1;
    std::string header = whole.out.substr(0, headerEnd);
    ASSERT_GT(zetest::tableRows(whole.out).size(), 1000u);

    zetest::RunResult threads = zetest::runCompare(with({"-c", "1e-3", "-j", "3"}, files));
    EXPECT_EQ(threads.out, whole.out);

    for (int parts : {1, 3, 7}) {
        std::string rows;
        for (int part = 1; part <= parts; part++) {
            std::string k = std::to_string(part) + "/" + std::to_string(parts);
            zetest::RunResult r = zetest::runCompare(with({"-c", "1e-3", "-j", "2", "--part", k}, files));
            ASSERT_EQ(r.status, 0) << k << ": " << r.err;
            ASSERT_EQ(r.out.compare(0, header.size(), header), 0) << k;
            EXPECT_GT(r.out.size(), header.size()) << k; // every part has rows here
            rows += r.out.substr(header.size());
        }
        EXPECT_TRUE(rows == whole.out.substr(headerEnd)) << parts << " parts";
    }
}

TEST(CompareParts, BadPartOrThreadsIsAUsageError) {
    zetest::TempDir dir;
    zetest::writeFile(dir / "1.bands", "         a 1 1\n5\n-1\n");
    std::vector<std::vector<std::string>> bad = {
        {"--part", "0/3"}, {"--part", "4/3"}, {"--part", "3"},  {"--part", "1/"},
        {"--part", "-1/3"}, {"--part", "1/3x"}, {"--part", "+1/3"}, {"--part"},
        {"-j", "0"}, {"-j", "x"}, {"-j", "1025"}, {"--part", "1/2", "--html", dir / "p.html"}};
    for (const std::vector<std::string>& args : bad) {
        zetest::RunResult r = zetest::runCompare(with(args, {dir / "1.bands"}));
        std::string what = args[0] + (args.size() > 1 ? " " + args[1] : "");
        EXPECT_EQ(r.status, 1) << what;
        EXPECT_EQ(r.out, "") << what;
        EXPECT_EQ(r.err.rfind("ERROR: ", 0), 0u) << what << ": " << r.err;
        EXPECT_NE(r.err.find("(zeCompare -h for help)\n"), std::string::npos) << r.err;
        EXPECT_FALSE(zetest::fileExists(dir / "p.html"));
    }
}

} // namespace
