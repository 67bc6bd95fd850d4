// The pair scan with its bin bound against the plain scan that walks and
// scores every pair: on adversarial random cases and on a simulated clone
// library, over tolerances, cutoffs, threads and parts. Also the bound
// itself against the exact shared bands of every pair.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "compareTestSupport.h"
#include "zeBandsFile.h"
#include "zeBinBound.h"
#include "zePairScan.h"
#include "zePlainScan.h"
#include "zeSharedBands.h"

namespace {

std::vector<PairScore> fastScan(const std::vector<Fingerprint>& prints, const ScanSettings& s) {
    std::vector<PairScore> got;
    EXPECT_TRUE(scanPairs(prints, s, [&](const std::vector<PairScore>& batch) {
        got.insert(got.end(), batch.begin(), batch.end());
        return true;
    }));
    return got;
}

void expectSamePairs(const std::vector<PairScore>& got, const std::vector<PairScore>& want,
                     const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (size_t k = 0; k < want.size(); k++) {
        ASSERT_EQ(got[k].first, want[k].first) << what << " row " << k;
        ASSERT_EQ(got[k].second, want[k].second) << what << " row " << k;
        EXPECT_EQ(got[k].shared, want[k].shared) << what;
        EXPECT_EQ(got[k].score, want[k].score) << what;
        EXPECT_EQ(got[k].dice, want[k].dice) << what;
    }
}

// Fingerprints built to corner the bound: equal positions, pairs exactly
// at and one past the tolerance, positions at and far past the scale's end
// (past the largest bin too), empty and one-band fingerprints, one of more
// bands than the need table holds (style 5), and noisy copies so that
// strict cutoffs pass some pairs.
std::vector<Fingerprint> adversarialPrints(std::mt19937& rng, int tolerance, int style) {
    int n = 20 + (int)(rng() % 40);
    std::vector<Fingerprint> prints(n);
    for (int k = 0; k < n; k++) {
        std::vector<int>& bands = prints[k].bands;
        prints[k].clone = "c" + std::to_string(k);
        int count = (int)(rng() % 40);
        if (k % 7 == 3) count = (int)(rng() % 2); // empty or one band
        if (k > 0 && rng() % 3 == 0) {
            // A copy of an earlier one, moved by up to a tolerance (or one
            // more), with duplicated bands.
            int shift = (int)(rng() % 3) - 1;
            for (int b : prints[rng() % k].bands) {
                int edge = rng() % 2 ? tolerance : tolerance + 1;
                bands.push_back(std::max(0, b + shift * edge));
                if (rng() % 5 == 0) bands.push_back(std::max(0, b + shift * edge));
            }
        } else {
            for (int c = 0; c < count; c++) {
                switch (style) {
                case 0: bands.push_back((int)(rng() % (3 * tolerance + 2))); break;
                case 1: bands.push_back(NORM_SCALE_LENGTH - 20 + (int)(rng() % 60)); break;
                case 2: bands.push_back((int)(rng() % (5 * NORM_SCALE_LENGTH))); break;
                case 3: bands.push_back((int)(rng() % 2000000)); break;
                default: bands.push_back((int)(rng() % NORM_SCALE_LENGTH)); break;
                }
            }
        }
        std::sort(bands.begin(), bands.end());
    }
    if (style == 5)
        for (int c = 0; c <= SharedBandsNeeded::TABLE_LIMIT; c++)
            prints[n - 1].bands.push_back(c * 17);
    return prints;
}

TEST(BinBound, NeverBelowTheSharedBandsOfAnyPair) {
    std::mt19937 rng(20);
    for (int round = 0; round < 300; round++) {
        int tolerance = std::vector<int>{0, 1, 2, 7, 30, MAX_TOLERANCE}[round % 6];
        std::vector<Fingerprint> prints = adversarialPrints(rng, tolerance, round / 6 % 6);
        BandBins bins(prints, tolerance), portable(prints, tolerance, true);
        std::vector<uint64_t> widened(bins.words());
        // Thresholds by band count, for the blockwise search.
        size_t largest = 0;
        for (const Fingerprint& f : prints)
            largest = std::max(largest, f.bands.size());
        std::vector<int> need(largest + 1);
        for (int& m : need)
            m = (int)(rng() % 12);
        int n = (int)prints.size();
        for (int k = 0; k < n; k++) {
            bins.widened(k, widened.data());
            std::vector<int> want;
            for (int l = 0; l < n; l++) {
                const std::vector<int>& a = prints[k].bands;
                const std::vector<int>& b = prints[l].bands;
                int m = sharedBands(a.data(), (int)a.size(), b.data(), (int)b.size(), tolerance);
                int bound = bins.bound(widened.data(), l);
                ASSERT_GE(bound, m) << "round " << round << " tolerance " << tolerance << " pair "
                                    << k << " " << l;
                if (l >= k / 2 && bound >= need[b.size()]) want.push_back(l);
            }
            // Both ways of counting bits find the same fingerprints.
            for (const BandBins* counting : {&bins, &portable}) {
                std::vector<int> got;
                counting->reaching(widened.data(), need.data(), 0, k / 2, n, got);
                EXPECT_EQ(got, want) << "round " << round << " row " << k;
            }
        }
    }
}

TEST(PairScan, SameAsThePlainScanOnAdversarialCases) {
    std::mt19937 rng(21);
    int passing = 0;
    // Three times over every tolerance with every shape of case (a period
    // of 35 rounds).
    for (int round = 0; round < 105; round++) {
        int tolerance = std::vector<int>{0, 1, 3, 7, 40, MAX_TOLERANCE}[round % 7 % 6];
        // The large fingerprint's table takes a while: a few rounds only.
        std::vector<Fingerprint> prints = adversarialPrints(rng, tolerance, round % 50 == 7 ? 5 : round % 5);
        std::vector<double> cutoffs = {0.0, 1e-12, 1e-3, 1.0};
        std::vector<std::vector<PairScore>> want = plainScan(prints, tolerance, cutoffs);
        for (size_t c = 0; c < cutoffs.size(); c++) {
            if (cutoffs[c] < 1) passing += (int)want[c].size();
            ScanSettings s;
            s.tolerance = tolerance;
            s.cutoff = cutoffs[c];
            s.threads = 1 + round % 3;
            expectSamePairs(fastScan(prints, s), want[c],
                            "round " + std::to_string(round) + " cutoff " + std::to_string(cutoffs[c]));
        }
    }
    EXPECT_GT(passing, 500); // the strict cutoffs were really met
}

TEST(PairScan, PartsOfAnySizeAddUpToTheWholeScan) {
    std::mt19937 rng(22);
    std::vector<Fingerprint> prints = adversarialPrints(rng, 7, 4);
    prints.resize(20); // 190 pairs
    for (Fingerprint& f : prints) // few bands: a small need table per scan
        f.bands.resize(std::min<size_t>(f.bands.size(), 12));
    ScanSettings s;
    s.cutoff = 1;
    std::vector<PairScore> whole = fastScan(prints, s);
    const size_t pairs = 190;
    ASSERT_EQ(whole.size(), pairs);
    // One part, a few, one per print, one pair short of one per pair, and
    // more parts than pairs.
    for (int parts : {1, 2, 7, 19, 189, 200}) {
        std::vector<PairScore> joined;
        s.parts = parts;
        for (s.part = 1; s.part <= parts; s.part++) {
            std::vector<PairScore> part = fastScan(prints, s);
            // Equal work: sizes differ by at most one pair.
            EXPECT_LE(part.size(), (pairs + parts - 1) / parts);
            EXPECT_GE(part.size(), pairs / parts);
            joined.insert(joined.end(), part.begin(), part.end());
        }
        expectSamePairs(joined, whole, "parts " + std::to_string(parts));
    }
}

// A simulated library read back from its bands files.
std::vector<Fingerprint> simulatedLibrary(const zetest::TempDir& dir, int clones) {
    zetest::RunResult g = zetest::run(ZE_GENLIBRARY_BIN, {"--out", dir.path(), "--clones",
                                                          std::to_string(clones), "--seed", "20"});
    EXPECT_EQ(g.status, 0) << g.err;
    std::vector<Fingerprint> prints;
    for (const std::string& name : zetest::listDir(dir.path())) {
        if (name.size() < 6 || name.compare(name.size() - 6, 6, ".bands") != 0) continue;
        std::string error;
        EXPECT_TRUE(readBandsFile(dir / name, prints, error)) << error;
    }
    EXPECT_EQ((int)prints.size(), clones);
    return prints;
}

TEST(PairScan, SameAsThePlainScanOnASimulatedLibrary) {
    zetest::TempDir dir;
    // The sanitized build checks the same on a smaller library: the plain
    // build's 2,500 clones take it half a minute.
#ifdef ZE_SANITIZED
    const int clones = 1000;
#else
    const int clones = 2500;
#endif
    std::vector<Fingerprint> prints = simulatedLibrary(dir, clones);
    std::vector<double> cutoffs = {1e-12, 1e-6, 1e-3};
    for (int tolerance : {3, 7}) {
        std::vector<std::vector<PairScore>> want = plainScan(prints, tolerance, cutoffs);
        for (size_t c = 0; c < cutoffs.size(); c++) {
            EXPECT_GT(want[c].size(), 1000u);
            ScanSettings s;
            s.tolerance = tolerance;
            s.cutoff = cutoffs[c];
            s.threads = 2;
            expectSamePairs(fastScan(prints, s), want[c],
                            "tolerance " + std::to_string(tolerance) + " cutoff " + std::to_string(cutoffs[c]));
        }
    }
}

} // namespace
