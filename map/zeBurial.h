// Buried clones: a clone whose bands lie almost all in one other clone of
// its contig adds nothing to the contig's order, and its few bands would
// only blur it. It is placed after the others, inside the clone it is
// buried in.
#ifndef ZE_BURIAL_H
#define ZE_BURIAL_H

#include <vector>

#include "zeClonePlaces.h"
#include "zeOverlapGraph.h"

// For every vertex of g: the vertex it is buried in, or -1. A clone is
// buried in another of its contig (places[v].contig, 0: in none) when
// the bands they share are at least `share` of its length in the layout
// (right - left): its band count less the bands that stand for no length
// (zeLayout.h), such as the partial fragments at its ends or extra bands of
// the gel, which lie in no other clone. It is buried in one at least as
// long (and of an earlier index when as long), so no chain of burials
// returns to its start; of several, in the one sharing the most bands with
// it, then the earliest.
std::vector<int> findBurials(const OverlapGraph& g, const ClonePlaces& places, double share);

// The clone at the top of v's chain of burials (v itself when not buried).
int burialRoot(const std::vector<int>& buriedIn, int v);

#endif
