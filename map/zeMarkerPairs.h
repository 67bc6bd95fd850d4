// Pairs that marker hits vouch for. Two clones that one marker hits both
// lie over the marker's place, so they overlap, though perhaps by too
// little for the build cutoff: such a pair may pass at a looser cutoff.
// Hits can be wrong, and a clone can sit at the wrong place (a chimera, or
// a repeat's bands), so the marker pairs are held to more than their score:
//
//  - the looser cutoff is still far below chance, it is taken on the bands
//    less the repeat bands, and the pair must share a least number of bands;
//  - a marker that hits many more clones than the typical marker is a
//    repeat probe, whose hits lie at many places, and vouches for nothing;
//  - the pairs join the groups the scan's pairs built, as they were laid
//    out and cut: two groups only when at least two clones of each are in
//    the pairs between them (one clone at the wrong place, or one wrong
//    hit, pulls nothing along), a lone clone into only one group and with
//    two clones of it, and no clone found to be the only link between two
//    groups (a junction).
#ifndef ZE_MARKERPAIRS_H
#define ZE_MARKERPAIRS_H

#include <utility>
#include <vector>

#include "zeMapSettings.h"
#include "zeOverlapGraph.h"
#include "zePairScan.h"
#include "zePrintsView.h"

// The pairs of fingerprints one marker hits, before they are scored.
struct MarkerCandidates {
    std::vector<std::pair<int, int>> pairs; // first < second, ascending, each once
    int typicalHits = 0;                    // the median of the markers' fingerprints hit
    int hitLimit = 0;                       // a marker hitting more is a repeat probe
    int repeatProbes = 0;                   // markers set aside as repeat probes
};

struct MarkerFindings {
    std::vector<PairScore> pairs;                        // the pairs added, by first then second
    int typicalHits = 0, hitLimit = 0, repeatProbes = 0; // as their candidates'
};

// True when `pairs` (by first then second) holds the pair first, second.
bool holdsPair(const std::vector<PairScore>& pairs, int first, int second);

// hits: per marker, the fingerprints it hits, ascending. scanned: every
// pair the scan passed (first < second, by first then second), which the
// markers leave alone. A marker hitting more than
// settings.markerRepeatFactor times the typical number of fingerprints is
// a repeat probe; the pairs of the others are the candidates.
MarkerCandidates markerCandidates(const std::vector<std::vector<int>>& hits,
                                  const std::vector<PairScore>& scanned,
                                  const MapSettings& settings);

// The candidates that pass: scoring at most settings.markerCutoff at
// settings.tolerance, sharing at least settings.markerShared bands, kept
// as above with settings.markerJoinClones clones of each group. groups:
// the groups of clones (as groupsApart gives them), junctions: per
// fingerprint, true for a junction.
MarkerFindings markerPairs(const PrintsView& prints, const MarkerCandidates& candidates,
                           const std::vector<std::vector<int>>& groups,
                           const std::vector<char>& junctions, const MapSettings& settings);

// g with the edges of `pairs` (first < second, none an edge of g) added.
OverlapGraph withEdges(const OverlapGraph& g, const std::vector<PairScore>& pairs);

#endif
