// The pairs a map is built on. One passing pair alone is weak evidence: a
// chance match, or a clone with a foreign piece, can tie two places of the
// genome together. A pair is trusted when its two clones also share a third
// clone that overlaps both; in a library of several-fold coverage every
// true overlap long enough to pass the cutoff has such a witness. A pair
// without one is kept only when it brings in a clone (or pair of clones)
// that nothing else holds, since that can join no two groups.
#ifndef ZE_TRUSTEDPAIRS_H
#define ZE_TRUSTEDPAIRS_H

#include <vector>

#include "zePairScan.h"

// pairs: first < second, each at most once, over `vertices` fingerprints.
// Returns the kept pairs, in the order given.
std::vector<PairScore> trustedPairs(int vertices, const std::vector<PairScore>& pairs);

#endif
