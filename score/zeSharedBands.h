// Shared bands of two fingerprints: a one-to-one matching of bands that lie
// within a tolerance of each other.
#ifndef ZE_SHAREDBANDS_H
#define ZE_SHAREDBANDS_H

#include <vector>

// The number of matched bands M between the ascending lists a (na bands)
// and b (nb bands): walking both together, two bands at most `tolerance`
// apart match and both move on; otherwise the smaller moves on. For a fixed
// tolerance this greedy walk finds a maximum matching.
int sharedBands(const int* a, int na, const int* b, int nb, int tolerance);

// As sharedBands, but gives up as soon as fewer than `needed` matches are
// still possible; then the result is below `needed` (and may be below M).
int sharedBandsAtLeast(const int* a, int na, const int* b, int nb, int tolerance, int needed);

// Whether the ascending list holds a band at most `tolerance` from `at`.
bool hasBandNear(const std::vector<int>& bands, int at, int tolerance);

// The same walk over sizes on a continuous scale (zePlace's standard units).
int sharedBands(const double* a, int na, const double* b, int nb, double tolerance);

#endif
