// A minimal tiling path: per contig, the fewest clones of status ok whose
// places cover the contig, each sharing at least a set number of bands
// with the next, so that a lab can sequence or check the contig through
// them alone.
//
// Over the ok clones of a contig ordered by left end, a path starts with a
// clone at the lowest left of them and ends with one at the highest
// right; each next clone starts inside the one before (left <= its left <
// right) and reaches further (a larger right). A step is strong when the
// two clones share at least `minShared` bands (zeSharedBands.h, at the
// map's tolerance), weak otherwise. Where a clone has no next clone that
// starts inside it (the ok clones leave a gap), the clones starting
// first past its end follow it, as a weak step.
//
// Of the paths with no weak step, the one chosen has the fewest clones,
// then the largest weakest overlap, then the lowest clone identities from
// left to right (clone, gel, ordinal, each compared as text). Where every
// path needs a weak step, the one chosen has the fewest weak steps, then
// the largest weakest overlap (the bridges share as many bands as any
// could), then the fewest clones, then the lowest identities.
#ifndef ZE_TILINGPATH_H
#define ZE_TILINGPATH_H

#include <vector>

#include "zeContigMap.h"
#include "zeFingerprint.h"

const int DEFAULT_MTP_SHARED = 4;

struct TilingStep {
    int print = 0;
    int shared = -1;   // bands shared with the clone before; -1 for the first
    bool weak = false; // the step from the clone before is weak
};

// By contig number less 1: each contig's path from left to right, empty
// where the contig has no ok clone (or where its number is unused).
std::vector<std::vector<TilingStep>> tilingPaths(const std::vector<Fingerprint>& prints,
                                                 const ContigMap& map, int minShared,
                                                 int tolerance);

// The same paths as sets of fingerprints: each contig's, ascending.
std::vector<std::vector<int>> tilingPrints(const std::vector<std::vector<TilingStep>>& paths);

#endif
