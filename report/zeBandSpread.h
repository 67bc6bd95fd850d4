// The gel's own noise: how far the matched bands of two copies of one clone
// lie apart, and the tolerance that this spread suggests for comparing the
// gel's fingerprints.
#ifndef ZE_BANDSPREAD_H
#define ZE_BANDSPREAD_H

#include <vector>

#include "zeSulston.h"

// Bands of two copies pair up for the spread when each is the other's
// nearest band and they lie at most this far apart. Twice the default
// tolerance, so that a gel noisier than the default shows as such instead
// of being cut off at it; pairing nearest bands only keeps a band that is
// missing from one copy from pairing its neighbours across the gap.
const int SPREAD_WINDOW = 2 * DEFAULT_TOLERANCE;

// The percentiles used: the median and the 95th.
const int SPREAD_MEDIAN_PERCENT = 50;
const int SPREAD_SUGGESTION_PERCENT = 95;

// |a[i] - b[j]| of every pair of bands that are each other's nearest band
// (ties go to the lower band) and at most `window` apart, in the order of
// a. Both lists ascend.
std::vector<int> nearestBandDifferences(const std::vector<int>& a, const std::vector<int>& b,
                                        int window);

struct BandSpread {
    int matched = 0;   // differences counted
    int median = 0;    // of |difference|
    int percentile95 = 0;
    int suggestedTolerance = 0; // 0: none (no matched bands)

    bool any() const { return matched > 0; }
};

// The spread of the differences given; each percentile is the value at
// rank ceil(p n / 100) of the n sorted differences (nearest rank). The
// suggested tolerance is the 95th percentile, at least 1 and at most
// MAX_TOLERANCE: the smallest whole tolerance that matches 95% of the
// bands of copies.
BandSpread bandSpread(std::vector<int> differences);

#endif
