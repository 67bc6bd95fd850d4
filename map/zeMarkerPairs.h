// Pairs that marker hits vouch for. Two clones that one marker hits both
// lie over the marker's place, so they overlap, though perhaps by too
// little for the build cutoff: such a pair joins at a looser cutoff. Hits
// can be wrong, so the looser cutoff is still far below chance, it is
// taken on the bands less the repeat bands, and the pair must share a
// least number of bands; and a marker that hits many more clones than the
// typical marker is a repeat probe, whose hits lie at many places, and
// vouches for nothing. The pairs then meet the same tests as any other
// (zeTrustedPairs.h: a third clone overlapping both, zeJunctions.h: more
// than one clone holding two groups together), so a wrong hit needs
// several wrong pairs passing at once to join two places.
#ifndef ZE_MARKERPAIRS_H
#define ZE_MARKERPAIRS_H

#include <vector>

#include "zeMapSettings.h"
#include "zePairScan.h"
#include "zePrintsView.h"

struct MarkerFindings {
    std::vector<PairScore> pairs; // the pairs added, by first then second
    int typicalHits = 0;          // the median of the markers' fingerprints hit
    int hitLimit = 0;             // a marker hitting more is a repeat probe
    int repeatProbes = 0;         // markers set aside as repeat probes
};

// hits: per marker, the fingerprints it hits, ascending. passing: the
// pairs the build already holds (first < second, by first then second),
// which are not added again. A marker hitting more than
// settings.markerRepeatFactor times the typical number of fingerprints is
// a repeat probe; two fingerprints another marker hits are added when
// they score at most settings.markerCutoff at settings.tolerance, sharing
// at least settings.markerShared bands.
MarkerFindings markerPairs(const PrintsView& prints, const std::vector<std::vector<int>>& hits,
                           const std::vector<PairScore>& passing, const MapSettings& settings);

#endif
