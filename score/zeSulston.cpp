#include "zeSulston.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "zeFingerprint.h"

double sulstonLogScore(int m, int n1, int n2, int tolerance) {
    int nL = std::min(n1, n2), nH = std::max(n1, n2);
    if (m <= 0 || nL == 0) return 0;
    if (m > nL) return -INFINITY;
    double b = 2.0 * tolerance / NORM_SCALE_LENGTH;
    if (b <= 0) return -INFINITY;
    if (b >= 1) return 0;
    // log(1 - p) = nH log(1 - b) exactly; p itself through expm1 so that a
    // small p keeps its digits.
    double logMiss = nH * std::log1p(-b);
    double logP = std::log(-std::expm1(logMiss));
    double logNL = std::lgamma(nL + 1.0);
    std::vector<double> terms;
    terms.reserve(nL - m + 1);
    double largest = -INFINITY;
    for (int j = m; j <= nL; j++) {
        double t = logNL - std::lgamma(j + 1.0) - std::lgamma(nL - j + 1.0) + j * logP +
                   (nL - j) * logMiss;
        terms.push_back(t);
        largest = std::max(largest, t);
    }
    double sum = 0;
    for (double t : terms)
        sum += std::exp(t - largest);
    return std::min(0.0, largest + std::log(sum));
}

double sulstonScore(int m, int n1, int n2, int tolerance) {
    double logScore = sulstonLogScore(m, n1, n2, tolerance);
    if (logScore < std::log(DBL_MIN)) return 0;
    return std::exp(logScore);
}

double diceCoefficient(int m, int n1, int n2) {
    if (n1 + n2 == 0) return 0;
    return 2.0 * m / (n1 + n2);
}

SharedBandsNeeded::SharedBandsNeeded(int tolerance, double cutoff, int largestCount)
    : tolerance(tolerance), cutoff(cutoff), size(std::min(largestCount, TABLE_LIMIT) + 1),
      table((size_t)size * size) {
    for (int nL = 0; nL < size; nL++)
        for (int nH = nL; nH < size; nH++)
            table[(size_t)nL * size + nH] = compute(nL, nH);
}

int SharedBandsNeeded::operator()(int n1, int n2) const {
    int nL = std::min(n1, n2), nH = std::max(n1, n2);
    if (nH < size) return table[(size_t)nL * size + nH];
    return compute(nL, nH);
}

int SharedBandsNeeded::compute(int nL, int nH) const {
    double b = 2.0 * tolerance / NORM_SCALE_LENGTH;
    if (nL == 0 || b <= 0 || b >= 1) {
        int m = nL + 1;
        while (m > 0 && sulstonScore(m - 1, nL, nH, tolerance) <= cutoff)
            m--;
        return m;
    }
    // The tail sum from M = nL down, one term at a time. This is only a
    // bound (pairs that reach it get their exact score), so it errs a
    // little on the side of letting a pair through.
    double logMiss = nH * std::log1p(-b);
    double logP = std::log(-std::expm1(logMiss));
    double logNL = std::lgamma(nL + 1.0);
    // Scores below the smallest normal double are reported as 0.
    double limit = std::log(std::max(cutoff, DBL_MIN)) + 1e-9;
    double tail = -INFINITY;
    for (int m = nL; m >= 1; m--) {
        double t = logNL - std::lgamma(m + 1.0) - std::lgamma(nL - m + 1.0) + m * logP +
                   (nL - m) * logMiss;
        double hi = std::max(tail, t);
        tail = hi + std::log(std::exp(tail - hi) + std::exp(t - hi));
        if (tail > limit) return m + 1;
    }
    return cutoff >= 1 ? 0 : 1;
}
