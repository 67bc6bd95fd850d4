// The bands two clones share by chance, as the pair score counts them
// (zeSharedBands.h), for telling a true overlap from a chance one.
//
// Band positions crowd some stretches of the scale (fragment sizes are
// not spread evenly over log size), so two unrelated clones share more
// bands than clones with evenly spread bands would: about 1.5 times as
// many in a simulated library. So where the library has enough bands
// outside the contig in question, each band of the clone with fewer bands
// matches the other's with the chance 1 - (1 - q)^nH, where q is the share
// of those bands lying within the tolerance of it and nH the other's band
// count; the contig's own bands are left out, since they are its clones'
// true matches. Elsewhere (a small library) the bands count as evenly
// spread over the scale: q = 2 tolerance / NORM_SCALE_LENGTH.
#ifndef ZE_CHANCEBANDS_H
#define ZE_CHANCEBANDS_H

#include <vector>

// Fewer bands than this outside a contig are too few to tell how they
// crowd (about 50 clones' worth).
const long LEAST_BANDS_FOR_CROWDING = 2000;

// Where the library's bands lie: each position that some band has,
// ascending, and below[i] of them lie below positions[i] (below has one
// more: all of them). A few thousand positions, whatever the library's
// size, and a stray position far off the scale costs one more.
struct LibraryBands {
    std::vector<int> positions;
    std::vector<long> below{0};
    long count() const { return below.back(); }
    // The bands from `low` to `high`.
    long within(int low, int high) const;
};

struct ChanceBands {
    const LibraryBands* library = nullptr; // none: evenly spread
    std::vector<int> contig;               // the contig's own bands, ascending
    int tolerance = 0;
};

// The library's bands, from each clone's.
LibraryBands libraryBands(const std::vector<const std::vector<int>*>& clones);

// The model for one contig of the library.
ChanceBands chanceBands(const LibraryBands& library, std::vector<int> contigBands, int tolerance);

// The bands fingerprints `a` and `b` (ascending) share by chance, rounded.
int chanceShared(const ChanceBands& chance, const std::vector<int>& a, const std::vector<int>& b);

// Of `shared` bands that a and b share, those they share beyond chance:
// k where shared = k + the chance matches of their other bands, n - k of
// each (the chance scaled by both), found by a few rounds from
// shared - chanceShared.
int sharedBeyondChance(const ChanceBands& chance, const std::vector<int>& a,
                       const std::vector<int>& b, int shared);

#endif
