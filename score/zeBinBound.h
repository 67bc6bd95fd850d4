// A cheap upper bound on the shared bands of two fingerprints, so that a
// scan over all pairs walks the bands of only the few pairs that may pass.
//
// The scale is cut into bins at least one tolerance wide, so two bands that
// match (at most a tolerance apart) lie in the same bin or in neighbouring
// ones. Each fingerprint keeps the set of bins its bands occupy, as a
// bitset, and the number of its bands that land in a bin already occupied
// by one of its earlier bands ("crowded" bands). Every band of l that
// matches a band of k lies in an occupied bin of l that is also in the
// bins of k widened by one bin each side; there are at most
// popcount(widened(k) & bins(l)) such bins, holding at most that many bands
// plus the crowded ones. Each band matches at most once, so this count
// bounds the shared bands M from above, whatever the matching.
#ifndef ZE_BINBOUND_H
#define ZE_BINBOUND_H

#include <cstdint>
#include <vector>

#include "zeFingerprint.h"

class BandBins {
  public:
    // At most this many bins: positions beyond them share the last bin.
    // Clamping keeps positions a tolerance apart in the same or
    // neighbouring bins, so the bound stays a bound, only looser there.
    static constexpr int MAX_BINS = 4096;
    // Fingerprints per block: a block holds word w of its fingerprints'
    // bitsets side by side, so that one row's word meets eight columns at
    // once and a scan reads the bitsets in order.
    static constexpr int BLOCK = 8;

    // portableOnly: count bits without the processor's wide instructions
    // even where it has them (for comparing the two).
    BandBins(const std::vector<Fingerprint>& prints, int tolerance, bool portableOnly = false);

    // 64-bit words per bitset.
    int words() const { return wordCount; }

    // The bins of k widened by one bin each side, into out (words() words).
    void widened(int k, uint64_t* out) const;

    // popcount(widenedK & bins of l) + crowded bands of l: at least the
    // shared bands of k and l when widenedK holds widened(k).
    int bound(const uint64_t* widenedK, int l) const;

    // Appends to out, in order, each l in [from, to) whose bound reaches
    // needByCount[band count of l], the fewest shared bands it needs.
    // `least` is at most every entry that a pair could meet (bound <= band
    // count of l), so that most blocks are ruled out in one comparison.
    void reaching(const uint64_t* widenedK, const int* needByCount, int least, int from, int to,
                  std::vector<int>& out) const;

    // The bounds of the BLOCK fingerprints from `first` (a multiple of
    // BLOCK) against a row's widened bins, into bounds; returns the mask of
    // those reaching `least`.
    typedef unsigned (*BlockBounds)(const uint64_t* widenedK, const uint64_t* block,
                                    const int32_t* crowd, int words, int least, int64_t* bounds);

  private:
    int binOf(int position) const;
    BlockBounds blockBounds;
    int width = 1, binCount = 1, wordCount = 1;
    std::vector<uint64_t> bits; // block b, word w, slot s: [(b * wordCount + w) * BLOCK + s]
    std::vector<int32_t> crowd; // padded to whole blocks
    std::vector<int32_t> count;
};

#endif
