// Chimeric clones found by where their other piece comes from. A chimeric
// clone joined from a long piece and a short one overlaps the clones of
// the long piece's place well enough to be placed among them, while the
// short piece is too short to pass the build cutoff anywhere. Its bands,
// though, are found together in the clones of the place it comes from.
// So the bands of a placed clone that the clones around it lack (its
// foreign bands) are looked up in every other clone: when several clones of
// one place elsewhere, near each other, hold many of them, more than chance
// gives, the clone is judged chimeric. A clone at a contig's end, whose
// lacking bands are fragments no other clone covers, finds no such place.
#ifndef ZE_FOREIGNPIECES_H
#define ZE_FOREIGNPIECES_H

#include <vector>

#include "zeContigMap.h"
#include "zeFingerprint.h"
#include "zeOverlapGraph.h"

struct ForeignSettings {
    int tolerance = 7;
    // A clone elsewhere holds the foreign bands when their Sulston score
    // (as a fingerprint of their own against it) is at most this...
    double homeCutoff = 1e-5;
    // ...and the piece's place is found when this many such clones lie
    // within one clone length of each other in one contig. They are sought
    // around leads: placed clones, not buried, holding nearly as many.
    int homesNeeded = 3;
    // Homes that overlap the clones around it this well are a place next
    // to its own.
    double besideCutoff = 1e-4;
    // Only clones with at least this many foreign bands, and this share of
    // their bands, are looked up.
    int fewestForeign = 6;
    double leastForeignShare = 0.2;
};

// For every fingerprint of a placed map (contig, left, right set; buriedIn
// the clone each buried one lies in, or -1): the contig its foreign piece
// comes from (1, 2, ...), or 0 when it has none.
std::vector<int> findForeignPieces(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                                   const ContigMap& map, const std::vector<int>& buriedIn,
                                   const ForeignSettings& settings);

#endif
