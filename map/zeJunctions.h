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
#include "zeMapSettings.h"
#include "zeOverlapGraph.h"
#include "zePrintsView.h"

// For every vertex: true when it is a junction of g. Groups are rescored
// at settings.tolerance and looseCutoff, at most mostPairsTried pairs each.
std::vector<char> findJunctions(const OverlapGraph& g, const PrintsView& prints,
                                const MapSettings& settings);
inline std::vector<char> findJunctions(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                                       const MapSettings& settings) {
    return findJunctions(g, PrintsView(prints), settings);
}

// The groups of vertices connected in g without passing through a removed
// one (the junctions), each as ascending vertices, ordered by size
// (largest first), then by first vertex. Groups of one vertex, which
// overlap nothing that is left, are left out.
std::vector<std::vector<int>> groupsApart(const OverlapGraph& g, const std::vector<char>& removed);

#endif
