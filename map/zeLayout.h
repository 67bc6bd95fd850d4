// The order of a contig's clones and their places, in band units.
//
// Two overlapping clones of n1 and n2 bands sharing M lie with their
// centres (n1 + n2) / 2 - M bands apart, whichever is the longer: the
// bands of each that the other lacks are the ones beyond its ends. The
// layout starts from the shortest-path distances along these offsets from
// one end of the contig (found by two sweeps), then moves each clone to the
// mean of the places its overlaps give it, on the side of each neighbour
// where it lies, until the places settle: a least-squares fit of all the
// offsets at once, which evens out the bands a clone misses or has extra.
#ifndef ZE_LAYOUT_H
#define ZE_LAYOUT_H

#include <vector>

#include "zeFingerprint.h"
#include "zeOverlapGraph.h"

// Centres of `members` (vertices of g, ascending) in band units, in their
// order; only edges between members count. Members must be connected by
// such edges. `scratch` is a vector of g.size() entries, all -1, and is
// left so.
std::vector<double> layoutCentres(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                                  const std::vector<int>& members, std::vector<int>& scratch);

// The centre offset of two overlapping clones.
inline double centreOffset(int n1, int n2, int shared) {
    double d = (n1 + n2) / 2.0 - shared;
    return d > 0 ? d : 0;
}

#endif
