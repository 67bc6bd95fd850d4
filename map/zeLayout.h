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
// pushed apart, and a clone's left end would move with its junk. A clone
// with too few triples of its own takes its contig's typical excess, which
// in a small contig leans on the library's.
#ifndef ZE_LAYOUT_H
#define ZE_LAYOUT_H

#include <vector>

#include "zeClonePlaces.h"
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

// The first pass over a contig: places settled on the offsets as the bands
// give them, and the excess measured on the contig's own triples.
struct RoughLayout {
    std::vector<double> centres; // by member
    // By member: the median over the triples it is the middle of; NaN
    // where it is the middle of fewer than settings.fewestTriples.
    std::vector<double> excess;
    // The median over all of the contig's triples (NaN where it has none),
    // and their number.
    double contigExcess = 0;
    size_t triples = 0;
};

// `members`: vertices of g, ascending, connected by edges among
// themselves; only those edges count.
RoughLayout roughLayout(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                        const std::vector<int>& members, const MapSettings& settings);

// The excess of a clone whose own is not measured, in a contig too small
// to measure a typical one: the median of the excesses measured over the
// whole library (0 when none is). It is worked out before any contig is
// laid out, so that a contig's layout does not depend on the order in
// which the contigs come.
double typicalExcess(const std::vector<RoughLayout>& contigs);

// The layout of `members` (as for roughLayout, whose result for them is
// `rough`): each clone's excess is its measured one, else the contig's
// typical one, which is the median of its triples where it has
// settings.enoughTriples, `typical` where it has none, and between them
// in proportion to its triples; it is taken off the offsets and the
// places settled again.
ContigLayout layoutContig(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                          const std::vector<int>& members, const MapSettings& settings,
                          const RoughLayout& rough, double typical);

// Every group laid out (groups: as groupsApart gives them, zeJunctions.h),
// group k numbered k + 1. A clone is as long as its bands less its excess,
// at least 1, its left end its centre less half that, rounded.
ClonePlaces placeGroups(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                        const std::vector<std::vector<int>>& groups, const MapSettings& settings);

// The centre offset of two overlapping clones.
inline double centreOffset(int n1, int n2, int shared) {
    double d = (n1 + n2) / 2.0 - shared;
    return d > 0 ? d : 0;
}

#endif
