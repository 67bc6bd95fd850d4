// The strand of a placed piece from the clones over its place.
//
// A clone whose end falls inside the piece holds the fragments of one end
// of the sequence, and which end says the strand: under +, a clone that
// reaches out to the left of the piece holds its first fragments, one that
// reaches out to the right its last. Each clone over the place (within
// SHIFT band units of it) is read for what it holds of the piece's
// fragments (a band within the match tolerance of the size): all of them
// as a clone over the whole piece, none but by chance as one beside it, or
// a first or last run as one with an end inside. A clone over the place
// ends in each gap between two of the piece's fragments at END_PER_GAP
// (a left end or a right end alike; at most MOST_ENDS in all), so a long
// piece has ends inside more often than a short one. A clone over a
// fragment shows no band for it at CLONE_MISS (missing and merged bands);
// one not over it matches its size by chance at the share of the size
// scale its bands' tolerances cover. So a clone end is told by a run of
// fragments lacking more surely than by one. The rates are those of the
// clones over the placed pieces of a simulated library, against its truth
// (bench/place_bench.py): 3.8% of the fragments a clone holds show no
// band, and 2.7% to 3.3% of the clones over a piece end in each gap.
//
// Which side a clone reaches out to: its middle against the place's, known
// to LAYOUT_SPREAD units, and, more surely, the side of the clones apart
// from the piece (holding next to none of its fragments, and not laid out
// within it) whose bands it shares: where the layout runs a few units off
// over a short piece, a clone with its left end inside it overlaps the
// clones on the right. Two clones overlap when they share SHARED_EXCESS
// bands more than chance.
//
// The weight is the log of how much likelier the clones make the strand
// than the other, summed over them; 0 where no clone shows an end inside.
#ifndef ZE_CLONESTRAND_H
#define ZE_CLONESTRAND_H

#include <vector>

#include "zeMapFragments.h"
#include "zeSequenceChains.h"

struct StrandEvidence {
    int strand = 0;    // +1, -1, or 0 where the clones show none
    double weight = 0; // natural log of the likelihood ratio, at least 0
};

// The strand that the clones of `contig` over left..right (band units,
// right excluded) show for the sequence's bands fromBand..toBand.
StrandEvidence cloneStrand(const std::vector<SequenceBand>& bands, int fromBand, int toBand,
                           const ContigClones& contig, long left, long right, double tolerance);

#endif
