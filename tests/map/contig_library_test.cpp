// zeContig on simulated libraries of a few thousand clones: every
// fingerprint once, the same bytes for any thread count and file order,
// and on perfect data no contig joining separate places of the genome.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "mapTestSupport.h"

using namespace zetest;

namespace {

std::vector<std::string> generate(const std::string& dir, const std::vector<std::string>& knobs,
                                  int gels) {
    std::vector<std::string> args = {"--out", dir, "--clones", std::to_string(gels * 96), "--per-gel", "96"};
    args.insert(args.end(), knobs.begin(), knobs.end());
    RunResult g = run(ZE_GENLIBRARY_BIN, args);
    EXPECT_EQ(g.status, 0) << g.err;
    std::vector<std::string> files;
    for (int k = 1; k <= gels; ++k)
        files.push_back(dir + "/" + std::to_string(k) + ".bands");
    return files;
}

std::string table(std::vector<std::string> args) {
    RunResult r = runContig(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    return r.out;
}

} // namespace

TEST(ContigLibrary, EveryFingerprintOnceAndTheSameTableForAnyThreadsAndFileOrder) {
    TempDir t;
    std::vector<std::string> files = generate(t.path(), {"--seed", "11"}, 30);
    std::vector<std::string> args = {"-j", "1"};
    args.insert(args.end(), files.begin(), files.end());
    std::string expected = table(args);
    std::vector<ContigRow> rows = contigRows(expected);
    std::set<std::string> seen;
    for (const ContigRow& r : rows)
        EXPECT_TRUE(seen.insert(r.clone + ":" + r.gel + ":" + r.ordinal).second) << r.clone;
    EXPECT_EQ(rows.size(), 30u * 96u);
    EXPECT_GT(rows.front().contig, 0);

    std::vector<std::string> reversed = {"-j", "2"};
    reversed.insert(reversed.end(), files.rbegin(), files.rend());
    EXPECT_EQ(table(reversed), expected);
}

TEST(ContigLibrary, NoFalseJoinsOnPerfectData) {
    TempDir t;
    std::vector<std::string> files = generate(t.path(), {"--seed", "12", "--perfect"}, 30);
    const std::vector<ContigRow> rows = contigRows(table(files));
    ASSERT_GT(contigsOfTwoOrMore(rows), 5);
    EXPECT_EQ(falseJoins(rows, trueSpans(t / "truth.tsv")), 0);
}
