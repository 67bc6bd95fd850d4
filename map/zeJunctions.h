// Clones that alone hold two groups of clones together. The clones that
// overlap a clone X normally overlap each other in a chain across X; when
// they fall into separate groups that overlap neither directly nor at a
// looser cutoff, X is the only link between them. That is what a chimeric
// clone looks like (two pieces from distant places), and a join that hangs
// on one clone is not trusted either way: X is taken out and the groups
// become contigs of their own.
#ifndef ZE_JUNCTIONS_H
#define ZE_JUNCTIONS_H

#include <vector>

#include "zeFingerprint.h"
#include "zeOverlapGraph.h"

struct JunctionSettings {
    int tolerance = 7;
    // Two groups overlap when some pair between them scores at most this.
    double looseCutoff = 1e-6;
    // At most this many pairs between two groups are scored.
    int mostPairsTried = 400;
};

// For every vertex: true when it is a junction of g.
std::vector<char> findJunctions(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                                const JunctionSettings& settings);

#endif
