// Figures of a whole map for zeContig's page: how many clones each contig
// holds and how long it is, the N50 of both, the clones of each status,
// and contigs binned by their number of clones.
#ifndef ZE_CONTIGSTATS_H
#define ZE_CONTIGSTATS_H

#include <vector>

#include "zeContigMap.h"

// The contigs that hold clones: with numbers carried over from an earlier
// build (--previous) the numbers may have gaps.
int contigsHeld(const ContigMap& map);

struct ContigSize {
    long clones = 0; // every clone placed in it, buried and Q ones too
    long length = 0; // consensus-band units: its rightmost right (places start at 0)
};

// By contig number less one.
std::vector<ContigSize> contigSizes(const ContigMap& map);

// The largest S such that the sizes of at least S hold at least half of
// the sum of all sizes; 0 when there are none.
long n50(std::vector<long> sizes);

struct MapCounts {
    long fingerprints = 0;
    long inContigs = 0;
    long singletons = 0; // in no contig and not chimeric: overlapping no clone kept
    long buried = 0, q = 0, chimeric = 0;
};
MapCounts mapCounts(const ContigMap& map);

// Contigs of lowest .. highest clones (both included).
struct SizeBin {
    long lowest = 0, highest = 0;
    long contigs = 0;
    long clones = 0; // held by those contigs
};
// Bins of doubling width, 2, 3-4, 5-8, 9-16, ..., up to the bin of the
// largest contig, every one of them listed (empty ones too). Contigs of
// fewer than 2 clones (there are none in a built map) are left out.
std::vector<SizeBin> sizeBins(const std::vector<ContigSize>& sizes);

#endif
