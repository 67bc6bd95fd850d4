// Sums of chances kept as logarithms: log(exp(a) + exp(b)), exact where
// either is a chance of nought (-INFINITY).
#ifndef ZE_LOGCHANCE_H
#define ZE_LOGCHANCE_H

#include <algorithm>
#include <cmath>

inline double logAddExp(double a, double b) {
    if (a == -INFINITY) return b;
    if (b == -INFINITY) return a;
    return std::max(a, b) + std::log1p(std::exp(-std::fabs(a - b)));
}

#endif
