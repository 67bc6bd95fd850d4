// A simulated clone's bands, with the errors of a real library applied in
// this order: fragment bands (whole fragments, and end fragments when on)
// -> each dropped with the missing chance -> gel noise, bands below
// position 0 dropped -> extra bands -> vector bands with gel noise ->
// ascending, bands on one position merged.
#ifndef ZE_LIBBANDS_H
#define ZE_LIBBANDS_H

#include <cstdint>
#include <vector>

#include "zeLibClone.h"
#include "zeLibOptions.h"
#include "zeLibRandom.h"

struct BandStreams {
    Rng noise, addedNoise, missing, extra, vector;
    explicit BandStreams(uint64_t seed)
        : noise(streamFor(seed, NOISE)), addedNoise(streamFor(seed, ADDED_NOISE)),
          missing(streamFor(seed, MISSING)), extra(streamFor(seed, EXTRA)),
          vector(streamFor(seed, VECTOR)) {}
};

// Standard positions truncated toward zero as the step writes them.
void cloneBands(BandStreams& r, const Options& o, const std::vector<int64_t>& cuts, const Clone& c,
                std::vector<int>& bands);

// The fragment size of every band as the gel's size calibration gives it:
// the size at the middle of its whole position on the log-size scale of
// the bands, rounded to whole bases; ascending, as zeStep5 writes sizes.
std::vector<int> bandSizes(const Options& o, const std::vector<int>& bands);

#endif
