// Band positions held by nearly every clone of the library: a band of the
// cloning vector that was not masked, or a repeat family that makes up the
// whole library. Such a band is shared by nearly every pair and says
// nothing of where a clone lies, so the map is built without it.
#ifndef ZE_COMMONBANDS_H
#define ZE_COMMONBANDS_H

#include <vector>

#include "zeFingerprint.h"

struct BandRange {
    int low = 0, high = 0; // positions low..high, both included
    bool operator==(const BandRange& o) const { return low == o.low && high == o.high; }
};

// The stretch either side of a position whose windows give its usual
// crowding: fragment sizes crowd some stretches of the scale more than
// others, but change slowly along it.
const int COMMON_BAND_BASELINE = 100;

// The common positions, ascending. A position's window holds the bands
// within the tolerance of it; where the window holds more than `leastShare`
// of the clones beyond the usual crowding of its stretch (the median
// window of the positions within COMMON_BAND_BASELINE), the middle of
// each such run is common, with the tolerance either side.
std::vector<BandRange> commonBandRanges(const std::vector<Fingerprint>& prints, int tolerance,
                                        double leastShare);

// The fingerprints without their bands in the ranges.
std::vector<Fingerprint> withoutBandsIn(const std::vector<Fingerprint>& prints,
                                        const std::vector<BandRange>& ranges);

#endif
