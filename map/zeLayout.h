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
// Bands of a clone that no neighbour shares (partial fragments at its
// ends, extra bands of the gel) make each of its offsets too long by half
// their number, and its band count too. Measured on triples of clones in a
// row, that excess is taken off each clone and the places settled again;
// otherwise the nearest clones, whose offsets it lengthens most, would be
// pushed apart, and a clone's left end would move with its junk.
#ifndef ZE_LAYOUT_H
#define ZE_LAYOUT_H

#include <vector>

#include "zeFingerprint.h"
#include "zeMapSettings.h"
#include "zeOverlapGraph.h"

struct ContigLayout {
    std::vector<double> centres; // in band units, by member
    // By member: the bands of a clone that stand for no length, found in
    // none of its neighbours (partial end fragments, extra bands) or
    // missed matches. Its length is its band count less this.
    std::vector<double> excess;
};

// The layout of `members` (vertices of g, ascending); only edges between
// members count. Members must be connected by such edges. `scratch` is a
// vector of g.size() entries, all -1, and is left so. `typicalExcess` is
// the excess of a clone in a contig too small to measure its own (start
// at 0, lay out the largest contigs first); a contig large enough sets it.
ContigLayout layoutContig(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                          const std::vector<int>& members, const MapSettings& settings,
                          std::vector<int>& scratch, double& typicalExcess);

// The centre offset of two overlapping clones.
inline double centreOffset(int n1, int n2, int shared) {
    double d = (n1 + n2) / 2.0 - shared;
    return d > 0 ? d : 0;
}

#endif
