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
#ifndef ZE_CHIMERAS_H
#define ZE_CHIMERAS_H

#include <vector>

#include "zeClonePlaces.h"
#include "zeFingerprint.h"
#include "zeMapSettings.h"
#include "zeOverlapGraph.h"

// For every fingerprint, placed in `places` (buriedIn: the clone each
// buried one lies in, or -1; Q clones count as not buried): the group its
// foreign piece comes from (1, 2, ...), or 0 when it has none. The
// settings used are the tolerance and those of the chimeras
// (zeMapSettings.h).
std::vector<int> findChimeras(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                              const ClonePlaces& places, const std::vector<int>& buriedIn,
                              const MapSettings& settings);

#endif
