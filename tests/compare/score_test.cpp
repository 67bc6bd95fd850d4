// Shared bands against a brute-force maximum matching, and the Sulston
// score against direct sums, its closed form and its monotony.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "zeSharedBands.h"
#include "zeSulston.h"

namespace {

// The largest one-to-one matching of bands at most t apart, by trying
// every band of a against every free band of b.
int bruteForceMatching(const std::vector<int>& a, const std::vector<int>& b, int t) {
    std::vector<char> used(b.size(), 0);
    std::function<int(size_t)> best = [&](size_t i) -> int {
        if (i == a.size()) return 0;
        int m = best(i + 1); // a[i] unmatched
        for (size_t j = 0; j < b.size(); j++)
            if (!used[j] && std::abs(a[i] - b[j]) <= t) {
                used[j] = 1;
                m = std::max(m, 1 + best(i + 1));
                used[j] = 0;
            }
        return m;
    };
    return best(0);
}

int shared(const std::vector<int>& a, const std::vector<int>& b, int t) {
    return sharedBands(a.data(), (int)a.size(), b.data(), (int)b.size(), t);
}

// The score summed term by term in long double, whose range reaches far
// below that of double.
long double directScore(int m, int n1, int n2, int t) {
    int nL = std::min(n1, n2), nH = std::max(n1, n2);
    long double b = 2.0L * t / 4600, p = 1 - std::pow(1 - b, (long double)nH);
    long double sum = 0;
    for (int j = m; j <= nL; j++) {
        long double c = 1;
        for (int k = 1; k <= j; k++)
            c = c * (nL - j + k) / k;
        sum += c * std::pow(p, (long double)j) * std::pow(1 - p, (long double)(nL - j));
    }
    return sum;
}

} // namespace

TEST(SharedBands, GreedyWalkFindsTheMaximumMatching) {
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; round++) {
        int t = (int)(rng() % 6);
        // Bands crowded into a short stretch, with repeats, so that a band
        // often has several partners in reach.
        std::vector<int> a(rng() % 7), b(rng() % 7);
        for (int& v : a)
            v = (int)(rng() % 30);
        for (int& v : b)
            v = (int)(rng() % 30);
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        ASSERT_EQ(shared(a, b, t), bruteForceMatching(a, b, t)) << "round " << round;
        ASSERT_EQ(shared(b, a, t), shared(a, b, t));
    }
}

TEST(SharedBands, ToleranceEdgeIsInclusive) {
    for (int t : {0, 1, 7, 50}) {
        EXPECT_EQ(shared({100}, {100 + t}, t), 1) << t;
        EXPECT_EQ(shared({100}, {100 - t}, t), 1) << t;
        EXPECT_EQ(shared({100}, {100 + t + 1}, t), 0) << t;
        EXPECT_EQ(shared({100}, {100 - t - 1}, t), 0) << t;
    }
    // One band cannot match twice: 10 and 12 both reach 11, only one pair.
    EXPECT_EQ(shared({10, 12}, {11}, 7), 1);
    EXPECT_EQ(shared({}, {1, 2}, 7), 0);
    EXPECT_EQ(shared({}, {}, 7), 0);
}

TEST(SharedBands, EarlyEndStaysBelowWhatIsNeeded) {
    std::vector<int> a = {10, 20, 30, 40, 50}, b = {11, 200, 300, 400, 500};
    EXPECT_EQ(shared(a, b, 7), 1);
    EXPECT_LT(sharedBandsAtLeast(a.data(), 5, b.data(), 5, 7, 3), 3);
    EXPECT_EQ(sharedBandsAtLeast(a.data(), 5, a.data(), 5, 7, 5), 5);
}

TEST(SulstonScore, WorkedByHand) {
    // One band each, t = 7: b = 14/4600 = 0.00304348, p = b, and one shared
    // band scores p.
    EXPECT_NEAR(sulstonScore(1, 1, 1, 7), 14.0 / 4600, 1e-15);
    // Two bands each: p = 1 - (1 - b)^2 = 2b - b^2 = 0.00607770;
    // P(M >= 1) = 1 - (1 - p)^2 = 2p - p^2 = 0.01211846, P(M = 2) = p^2 =
    // 3.69384e-5.
    double b = 14.0 / 4600, p = 1 - (1 - b) * (1 - b);
    EXPECT_NEAR(sulstonScore(1, 2, 2, 7), 1 - (1 - p) * (1 - p), 1e-15);
    EXPECT_NEAR(sulstonScore(1, 2, 2, 7), 0.01211845, 1e-8);
    EXPECT_NEAR(sulstonScore(2, 2, 2, 7), 3.69384e-5, 1e-10);
}

TEST(SulstonScore, SpecialCases) {
    EXPECT_EQ(sulstonScore(0, 30, 25, 7), 1.0);
    EXPECT_EQ(sulstonScore(0, 0, 25, 7), 1.0);
    EXPECT_EQ(sulstonScore(0, 0, 0, 7), 1.0);
    // No band can coincide by chance without a tolerance.
    EXPECT_EQ(sulstonScore(3, 10, 10, 0), 0.0);
    EXPECT_EQ(diceCoefficient(0, 0, 0), 0.0);
    EXPECT_DOUBLE_EQ(diceCoefficient(20, 25, 35), 40.0 / 60);
}

TEST(SulstonScore, MatchesTheDirectSumWhereItDoesNotUnderflow) {
    for (int t : {1, 7, 20})
        for (int n1 : {1, 5, 25, 40, 80})
            for (int n2 : {3, 25, 40})
                for (int m = 0; m <= std::min(n1, n2); m++) {
                    long double want = directScore(m, n1, n2, t);
                    if (want < 1e-290L) continue;
                    double got = sulstonScore(m, n1, n2, t);
                    EXPECT_NEAR(got / (double)want, 1.0, 1e-9)
                        << "t " << t << " n " << n1 << "," << n2 << " M " << m;
                }
}

TEST(SulstonScore, ClosedFormWhenEveryBandMatches) {
    // M = nL leaves one term: P = p^nL.
    for (int t : {3, 7, 15})
        for (int nL : {1, 10, 25, 40})
            for (int nH : {nL, nL + 7}) {
                double b = 2.0 * t / 4600, p = 1 - std::pow(1 - b, nH);
                double want = std::pow(p, nL);
                if (want < DBL_MIN) continue;
                EXPECT_NEAR(sulstonScore(nL, nL, nH, t) / want, 1.0, 1e-9) << t << " " << nL;
            }
}

TEST(SulstonScore, KeepsThreeDigitsDownTo1e300AndGivesZeroBeyond) {
    // Every band shared between two fingerprints of n bands at t = 7: the
    // score falls below 1e-300 near n = 900 and below the double range soon
    // after.
    int found = 0;
    for (int n = 100; n <= 1200; n += 50) {
        long double want = directScore(n, n, n, 7);
        double got = sulstonScore(n, n, n, 7);
        if (want >= 1e-300L) {
            found++;
            EXPECT_NEAR((double)(got / want), 1.0, 5e-4) << n;
        } else if (want < (long double)DBL_MIN) {
            EXPECT_EQ(got, 0.0) << n;
            EXPECT_LT(sulstonLogScore(n, n, n, 7), std::log(DBL_MIN));
        }
    }
    EXPECT_GT(found, 3);
    // A sum of many terms just above 1e-300.
    for (int m = 50; m < 400; m += 7) {
        long double want = directScore(m, 400, 400, 3);
        if (want < 1e-300L || want > 1e-200L) continue;
        EXPECT_NEAR((double)(sulstonScore(m, 400, 400, 3) / want), 1.0, 5e-4) << m;
    }
}

TEST(SulstonScore, FallsAsSharedBandsRise) {
    for (int t : {2, 7, 30})
        for (int nL : {1, 12, 30})
            for (int nH : {nL, 45}) {
                double before = 2;
                for (int m = 0; m <= nL; m++) {
                    double now = sulstonScore(m, nL, nH, t);
                    EXPECT_LE(now, before) << t << " " << nL << " " << nH << " " << m;
                    before = now;
                }
            }
}

TEST(SharedBandsNeeded, IsTheFewestSharedBandsThatPass) {
    for (double cutoff : {1e-12, 1e-3, 0.5, 1.0, 0.0})
        for (int t : {0, 7, 25}) {
            SharedBandsNeeded needed(t, cutoff, 40);
            for (int n1 = 0; n1 <= 50; n1 += 5)
                for (int n2 = 0; n2 <= 50; n2 += 3) {
                    int nL = std::min(n1, n2);
                    int first = nL + 1;
                    for (int m = nL; m >= 0 && sulstonScore(m, n1, n2, t) <= cutoff; m--)
                        first = m;
                    EXPECT_EQ(needed(n1, n2), first)
                        << "cutoff " << cutoff << " t " << t << " n " << n1 << "," << n2;
                }
        }
}
