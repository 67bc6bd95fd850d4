// Buried clones: a clone whose bands lie almost all in one other clone of
// its contig adds nothing to the contig's order, and its few bands would
// only blur it. It is placed after the others, inside the clone it is
// buried in.
#ifndef ZE_BURIAL_H
#define ZE_BURIAL_H

#include <vector>

#include "zeFingerprint.h"
#include "zeOverlapGraph.h"

// The least share of a clone's bands that must match another clone's for
// it to count as buried in it.
const double BURIED_SHARE = 0.9;

// For every vertex of g: the vertex it is buried in, or -1. Only edges
// between vertices of one group (groupOf, -1: in none) count. A clone is
// buried in one with more bands (or as many and an earlier index), so no
// chain of burials returns to its start; the clone it is buried in is
// the one matching the largest share of its bands, then the earliest.
std::vector<int> findBurials(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                             const std::vector<int>& groupOf);

// The clone at the top of v's chain of burials (v itself when not buried).
int burialRoot(const std::vector<int>& buriedIn, int v);

#endif
