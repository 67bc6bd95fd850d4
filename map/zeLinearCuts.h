// Groups that do not stay linear. Two places of the genome that a repeat
// ties together lie, in the layout of their one group, over each other:
// clones laid out over most of each other's length that share almost no
// bands. A few such pairs are the layout's own slips; a group with many
// times its clones in them is two places, and the pairs that hold those
// places together are cut: for each such pair of clones, the fewest
// overlaps whose removal parts them (a minimum cut), when they are few.
#ifndef ZE_LINEARCUTS_H
#define ZE_LINEARCUTS_H

#include <utility>
#include <vector>

#include "zeClonePlaces.h"
#include "zeFingerprint.h"
#include "zeMapSettings.h"
#include "zeOverlapGraph.h"
#include "zePrintsView.h"

// Two clones of one group lie over each other when their places overlap by
// at least settings.overlaidShare of the shorter and they share at most
// settings.overlaidSharedBands of the fewer bands.
bool liesOver(const Fingerprint& a, const ClonePlace& pa, const Fingerprint& b,
              const ClonePlace& pb, int tolerance, const MapSettings& settings);

// The pairs of a group's members whose places overlap, as indices into
// members (first < second), ascending.
std::vector<std::pair<int, int>> overlappingPlaces(const std::vector<int>& members,
                                                  const ClonePlaces& places);

// The overlaps (edges of g, first < second) to cut, ascending: in every
// group with more than settings.overlaidPerClone pairs lying over each
// other per clone, the minimum cut between the two clones of each such
// pair still joined, when it has at most settings.mostCutOverlaps
// overlaps. groups as groupsApart gives them, places as placeGroups.
std::vector<std::pair<int, int>> nonLinearCuts(const OverlapGraph& g, const PrintsView& prints,
                                               const std::vector<std::vector<int>>& groups,
                                               const ClonePlaces& places,
                                               const MapSettings& settings);
inline std::vector<std::pair<int, int>> nonLinearCuts(const OverlapGraph& g,
                                                      const std::vector<Fingerprint>& prints,
                                                      const std::vector<std::vector<int>>& groups,
                                                      const ClonePlaces& places,
                                                      const MapSettings& settings) {
    return nonLinearCuts(g, PrintsView(prints), groups, places, settings);
}

// g without the edges `cuts` (as nonLinearCuts gives them).
OverlapGraph withoutEdges(const OverlapGraph& g, const std::vector<std::pair<int, int>>& cuts);

#endif
