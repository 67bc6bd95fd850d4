// Places joined at one clone. A group that hangs on one clone v (taking v
// out parts it) is two stretches of clones that v holds together. On a
// line they meet at v: clones of the two sides overlap each other only
// where v lies, for else they would overlap each other directly. A clone
// holding a copy of a repeat family can join its own place to another
// copy's, on the family's bands; laid out as one, the two places lie
// over each other beyond v too, and there clones of the two sides placed
// over each other share almost none of the bands v lacks. When many such
// pairs lie across v, v's overlaps with the side it has fewer with are cut.
#ifndef ZE_THINJOINS_H
#define ZE_THINJOINS_H

#include <utility>
#include <vector>

#include "zeClonePlaces.h"
#include "zeMapSettings.h"
#include "zeOverlapGraph.h"
#include "zePrintsView.h"

// The overlaps (edges of g, first < second, ascending, each once) to cut.
// For every clone v of a group that alone holds a side of at least
// settings.thinJoinSide clones to the rest (as many again): the pairs of
// clones, one on each side, whose places overlap outside v's by at least
// settings.thinJoinBeyond of the shorter and that share at most
// settings.copyApart of the bands v lacks; with settings.thinJoinPairs of
// them, v's overlaps with the side it has fewer with. groups as
// groupsApart gives them, places as placeGroups.
std::vector<std::pair<int, int>> thinJoinCuts(const OverlapGraph& g, const PrintsView& prints,
                                              const std::vector<std::vector<int>>& groups,
                                              const ClonePlaces& places,
                                              const MapSettings& settings);

#endif
