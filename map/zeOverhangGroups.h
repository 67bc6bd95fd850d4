// The sides a clone's partners reach past it to. On a line the bands a
// partner holds beyond clone x (its overhang) lie to the left or to the
// right of x, and two partners reaching past x on one side share most of
// the shorter overhang: the overhangs fall into at most two groups. A
// clone holding a copy of a repeat family also has partners at the
// family's other copies, whose overhangs are the flanks of those copies: a
// third or fourth group, whose partners match only bands of x that the
// partners of the other groups match as well (the family's).
#ifndef ZE_OVERHANGGROUPS_H
#define ZE_OVERHANGGROUPS_H

#include <vector>

#include "zeMapSettings.h"
#include "zeOverlapGraph.h"
#include "zePrintsView.h"

// The partners of x in g (ascending) in overhang groups beyond two that lie
// at another copy. Partners with at least settings.overhangBands bands that
// x lacks are grouped, two in one group when they share at least
// settings.overhangShare of the smaller overhang (and more than
// settings.copyApart bands). While more than two groups are left, of the
// groups matching at most settings.copySlack bands of x that no other group
// left matches, the one matching the fewest is taken as at another copy.
std::vector<int> partnersInExtraOverhangs(const OverlapGraph& g, const PrintsView& prints, int x,
                                          const MapSettings& settings);

#endif
