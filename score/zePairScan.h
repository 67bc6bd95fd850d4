// All pairs of a set of fingerprints, scored, keeping those whose Sulston
// score is at most a cutoff. Pairs come out in order (i < j, by i then j)
// a few rows at a time, so memory grows with the number of fingerprints,
// not with the number of pairs.
#ifndef ZE_PAIRSCAN_H
#define ZE_PAIRSCAN_H

#include <functional>
#include <vector>

#include "zeFingerprint.h"
#include "zeSulston.h"

struct PairScore {
    int first = 0, second = 0; // indices into the fingerprints, first < second
    int shared = 0;
    double score = 1;
    double dice = 0;
};

struct ScanSettings {
    int tolerance = DEFAULT_TOLERANCE;
    double cutoff = DEFAULT_CUTOFF;
    int threads = 1;
    // Only the part-th of `parts` near-equal slices of the pairs in scan
    // order (see zePairParts.h); 1 of 1 is every pair.
    int part = 1, parts = 1;
};

// Scores two band lists exactly (first and second left 0).
PairScore scoreBands(const std::vector<int>& a, const std::vector<int>& b, int tolerance);

// Scores one pair exactly.
PairScore scorePair(const std::vector<Fingerprint>& prints, int first, int second, int tolerance);

// Every passing pair, in scan order, held at once (for callers that keep
// them all; memory then grows with the pairs).
std::vector<PairScore> collectPassingPairs(const std::vector<Fingerprint>& prints,
                                           const ScanSettings& settings);

// Calls `take` with the passing pairs of consecutive rows (of the chosen
// part), in order, from the calling thread, while `threads` others scan.
// `take` returns false to stop the scan (which then returns false). The
// pairs are exactly those that scorePair scores within the cutoff, but a
// pair is walked only when its band counts and its bin bound (zeBinBound.h)
// allow the shared bands it needs, and only until too few bands are left.
// Memory grows with the number of fingerprints, not of pairs.
bool scanPairs(const std::vector<Fingerprint>& prints, const ScanSettings& settings,
               const std::function<bool(const std::vector<PairScore>&)>& take);

#endif
