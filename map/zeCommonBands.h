// Band positions that far more clones hold than the library's size
// explains: a band of the cloning vector that was not masked, or a
// repeat family that makes up the whole library. Such a band is shared by
// nearly every pair and says nothing of where a clone lies, so the map is
// built without it.
#ifndef ZE_COMMONBANDS_H
#define ZE_COMMONBANDS_H

#include <vector>

#include "zeFingerprint.h"

// A window of 2 t + 1 positions holds, on average, the library's bands
// times (2 t + 1) / NORM_SCALE_LENGTH; fragment sizes crowd some stretches
// of the scale by less than twice that. A window held by more than this
// many times the average is common.
const double COMMON_BAND_WINDOWS = 3;

struct BandRange {
    int low = 0, high = 0; // positions low..high, both included
    bool operator==(const BandRange& o) const { return low == o.low && high == o.high; }
};

// The common positions, ascending and apart. A run of positions whose
// windows (within the tolerance either side) hold more than `factor` times
// the average is common less the tolerance at each of its ends, where the
// window reaches the crowded positions from outside them; a run too short
// for that is its most held position.
std::vector<BandRange> commonBandRanges(const std::vector<Fingerprint>& prints, int tolerance,
                                        double factor = COMMON_BAND_WINDOWS);

// The fingerprints without their bands in the ranges.
std::vector<Fingerprint> withoutBandsIn(const std::vector<Fingerprint>& prints,
                                        const std::vector<BandRange>& ranges);

#endif
