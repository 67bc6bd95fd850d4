// The last step of a map: its contigs numbered and turned by fixed rules.
// The contigs are numbered 1, 2, ... by their number of clones, most
// first, then by their lowest fingerprint (numbers that hold no clone are
// dropped); each is
// turned so that its lowest fingerprint's middle lies in its left half (or
// on the middle), and moved so that its places start at 0. The contigs a
// chimeric clone links follow the new numbers.
#ifndef ZE_CONTIGNUMBERS_H
#define ZE_CONTIGNUMBERS_H

#include "zeContigMap.h"

// map.clones hold any contig numbers from 1 to map.contigs (0: in none),
// each number held by no clone or by at least two, and places on any
// scale; fingerprints are in their fixed order.
void numberContigs(ContigMap& map);

#endif
