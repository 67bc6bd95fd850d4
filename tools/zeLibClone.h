// Where a simulated clone lies on the genome: one piece, or two for a
// chimeric clone, and the restriction fragments wholly inside a piece.
#ifndef ZE_LIBCLONE_H
#define ZE_LIBCLONE_H

#include <cstdint>
#include <vector>

#include "zeLibRandom.h"

// A chimeric clone's two pieces lie at least this far apart.
const int64_t CHIMERA_GAP = 1000000;
// The first piece's share of the clone's length is uniform in this range.
const double CHIMERA_SPLIT_LOW = 0.3, CHIMERA_SPLIT_HIGH = 0.7;

struct Piece {
    int64_t start = 0, end = 0; // [start, end)
};

struct Clone {
    Piece first;           // where the clone was placed; of a chimeric clone its first piece
    int64_t placedEnd = 0; // the end of the clone as placed, before a split
    bool chimeric = false;
    Piece second; // a chimeric clone's other piece
};

// A clone of normal length (at least 1 base, at most the genome) at a
// uniform place.
Clone placeClone(Rng& rng, double mean, double sd, int64_t genome);

// With probability share, splits the clone: the first piece keeps 30-70%
// of its length where it was placed, the rest goes to a uniform place at
// least CHIMERA_GAP from it. A clone with no such place stays whole.
void maybeChimeric(Rng& rng, double share, int64_t genome, Clone& c);

// The whole restriction fragments in a piece: fragments first..last, each
// from cuts[k] to cuts[k + 1]; none when any is false.
struct FragmentRange {
    bool any = false;
    size_t first = 0, last = 0;
};

FragmentRange wholeFragments(const std::vector<int64_t>& cuts, const Piece& p);

#endif
