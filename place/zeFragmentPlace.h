// Where in a contig a fragment of the map lies, from the clones whose
// bands make it. All of them overlap it, so where they all overlap is its
// place, but a band of one clone elsewhere, of another fragment of nearly
// the size, or a clone the layout put a few units off, leaves no place
// where all overlap, or a wrong one of next to no width: the places of
// such fragments lay 6 units from their neighbours' in the sequence (the
// median), against 1 where the clones' overlap was 9 units wide or more.
// The place is where the most of the clones overlap: the middle of the
// stretch the most of them cover (of all such stretches, from the first's
// start to the last's end).
#ifndef ZE_FRAGMENTPLACE_H
#define ZE_FRAGMENTPLACE_H

#include <utility>
#include <vector>

// Each clone's left and right end; at least one.
double deepestPlace(std::vector<std::pair<long, long>> spans);

#endif
