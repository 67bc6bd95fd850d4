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

struct Interval {
    long long start = 0, end = 0;
};

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

std::map<std::string, Interval> truthOf(const std::string& path) {
    std::map<std::string, Interval> truth;
    std::istringstream in(readFile(path));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string clone, gel;
        Interval c;
        fields >> clone >> gel >> c.start >> c.end;
        truth[clone] = c;
    }
    return truth;
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
    std::map<std::string, Interval> truth = truthOf(t / "truth.tsv");
    std::map<int, std::vector<Interval>> contigs;
    for (const ContigRow& r : contigRows(table(files)))
        if (r.contig > 0) contigs[r.contig].push_back(truth.at(r.clone));
    ASSERT_GT(contigs.size(), 5u);
    for (auto& [number, clones] : contigs) {
        std::sort(clones.begin(), clones.end(),
                  [](const Interval& a, const Interval& b) { return a.start < b.start; });
        long long end = clones.front().end;
        for (const Interval& c : clones) {
            EXPECT_LT(c.start, end) << "contig " << number << " joins separate places";
            end = std::max(end, c.end);
        }
    }
}
