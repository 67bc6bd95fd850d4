// The average-linkage tree against joining the closest pair again and
// again, and the pair scan (with its bounds and two threads) against
// scoring every pair in full.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "zeAverageLinkage.h"
#include "zePairScan.h"
#include "zeStrongestPairs.h"

namespace {

// Heights of the joins of plain UPGMA: O(n^3), lowest pair first.
std::vector<double> naiveJoinHeights(std::vector<double> d, int n) {
    std::vector<int> size(n, 1);
    std::vector<char> active(n, 1);
    std::vector<double> heights;
    for (int left = n; left > 1; left--) {
        int bi = -1, bj = -1;
        for (int i = 0; i < n; i++)
            for (int j = i + 1; j < n; j++)
                if (active[i] && active[j] && (bi < 0 || d[i * n + j] < d[bi * n + bj])) {
                    bi = i;
                    bj = j;
                }
        heights.push_back(d[bi * n + bj]);
        for (int k = 0; k < n; k++)
            if (active[k] && k != bi && k != bj)
                d[bi * n + k] = d[k * n + bi] =
                    (size[bi] * d[bi * n + k] + size[bj] * d[bj * n + k]) / (size[bi] + size[bj]);
        size[bi] += size[bj];
        active[bj] = 0;
    }
    return heights;
}

std::vector<double> randomDistances(std::mt19937& rng, int n) {
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<double> d(n * n, 0);
    for (int i = 0; i < n; i++)
        for (int j = i + 1; j < n; j++)
            d[i * n + j] = d[j * n + i] = u(rng);
    return d;
}

std::vector<Fingerprint> randomFingerprints(std::mt19937& rng, int n) {
    std::vector<Fingerprint> prints(n);
    for (int k = 0; k < n; k++) {
        Fingerprint& f = prints[k];
        f.clone = "c" + std::to_string(k);
        f.gel = "1";
        // Every third one a noisy copy of an earlier one, so that some pairs
        // pass the strict cutoffs too.
        if (k > 0 && k % 3 == 0) {
            for (int b : prints[rng() % k].bands)
                if (rng() % 8) f.bands.push_back(std::max(0, std::min(4599, b + (int)(rng() % 9) - 4)));
        } else {
            int count = (int)(rng() % 45);
            for (int i = 0; i < count; i++)
                f.bands.push_back((int)(rng() % 4600));
        }
        std::sort(f.bands.begin(), f.bands.end());
    }
    return prints;
}

} // namespace

TEST(AverageLinkage, FourPointsWorkedByHand) {
    // a-b 1, c-d 2, a-c 5, a-d 6, b-c 7, b-d 8: a and b join at 1, c and d
    // at 2, the two pairs at the mean of the four cross distances, 6.5.
    std::vector<double> d = {0, 1, 5, 6, 1, 0, 7, 8, 5, 7, 0, 2, 6, 8, 2, 0};
    Tree tree = averageLinkage(d, 4);
    ASSERT_EQ(tree.nodes.size(), 7u);
    const TreeNode& root = tree.nodes[tree.root];
    EXPECT_DOUBLE_EQ(root.height, 6.5);
    EXPECT_EQ(root.size, 4);
    EXPECT_EQ(leafOrder(tree), (std::vector<int>{0, 1, 2, 3}));
}

TEST(AverageLinkage, SameJoinsAsJoiningTheClosestPairEachTime) {
    std::mt19937 rng(11);
    for (int n : {1, 2, 3, 7, 20, 60}) {
        std::vector<double> d = randomDistances(rng, n);
        Tree tree = averageLinkage(d, n);
        std::vector<double> heights;
        for (const TreeNode& t : tree.nodes)
            if (t.leaf < 0) heights.push_back(t.height);
        std::sort(heights.begin(), heights.end());
        std::vector<double> want = naiveJoinHeights(d, n);
        ASSERT_EQ(heights.size(), want.size());
        for (size_t k = 0; k < want.size(); k++)
            EXPECT_NEAR(heights[k], want[k], 1e-12) << n << " " << k;
        std::vector<int> order = leafOrder(tree);
        std::sort(order.begin(), order.end());
        for (int k = 0; k < n; k++)
            EXPECT_EQ(order[k], k);
    }
}

TEST(AverageLinkage, TiedDistancesStillGiveOneTree) {
    // Unrelated fingerprints all lie at distance 1 from each other.
    int n = 9;
    std::vector<double> d(n * n, 1.0);
    Tree tree = averageLinkage(d, n);
    EXPECT_EQ(tree.nodes.size(), (size_t)(2 * n - 1));
    EXPECT_EQ(tree.nodes[tree.root].size, n);
}

TEST(PairScan, KeepsExactlyThePairsThatScoreWithinTheCutoffInOrder) {
    std::mt19937 rng(5);
    std::vector<Fingerprint> prints = randomFingerprints(rng, 150);
    for (double cutoff : {1e-12, 1e-3, 1.0, 0.0})
        for (int tolerance : {0, 7})
            for (int threads : {1, 2}) {
                std::vector<PairScore> want;
                for (int i = 0; i < (int)prints.size(); i++)
                    for (int j = i + 1; j < (int)prints.size(); j++) {
                        PairScore p = scorePair(prints, i, j, tolerance);
                        if (p.score <= cutoff) want.push_back(p);
                    }
                ScanSettings s;
                s.cutoff = cutoff;
                s.tolerance = tolerance;
                s.threads = threads;
                std::vector<PairScore> got;
                EXPECT_TRUE(scanPairs(prints, s, [&](const std::vector<PairScore>& batch) {
                    got.insert(got.end(), batch.begin(), batch.end());
                    return true;
                }));
                ASSERT_EQ(got.size(), want.size()) << cutoff << " " << tolerance;
                for (size_t k = 0; k < want.size(); k++) {
                    EXPECT_EQ(got[k].first, want[k].first);
                    EXPECT_EQ(got[k].second, want[k].second);
                    EXPECT_EQ(got[k].shared, want[k].shared);
                    EXPECT_EQ(got[k].score, want[k].score);
                    EXPECT_EQ(got[k].dice, want[k].dice);
                }
                if (cutoff == 1e-12 && tolerance == 7) {
                    EXPECT_GT(want.size(), 10u);
                }
            }
}

TEST(PairScan, StopsWhenTheTakerSaysSo) {
    std::mt19937 rng(6);
    std::vector<Fingerprint> prints = randomFingerprints(rng, 100);
    ScanSettings s;
    s.cutoff = 1;
    int calls = 0;
    EXPECT_FALSE(scanPairs(prints, s, [&](const std::vector<PairScore>&) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
}

TEST(StrongestPairs, KeepsTheLowestScoresThenTheMostSharedBands) {
    StrongestPairs keep(3);
    keep.add({0, 1, 5, 1e-3, 0.2});
    keep.add({0, 2, 9, 0.0, 0.5});
    keep.add({1, 2, 3, 0.5, 0.1});
    keep.add({2, 3, 12, 0.0, 0.6});
    keep.add({3, 4, 4, 1e-5, 0.2});
    std::vector<PairScore> top = keep.sorted();
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0].shared, 12);
    EXPECT_EQ(top[1].shared, 9);
    EXPECT_EQ(top[2].score, 1e-5);
}
