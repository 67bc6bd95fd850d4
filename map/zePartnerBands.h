// A partner's bands seen from a clone x: the bands of the partner that x
// lacks (what it holds beyond x) and which bands of x it matches, as the
// walk of sharedBands pairs them.
#ifndef ZE_PARTNERBANDS_H
#define ZE_PARTNERBANDS_H

#include <vector>

#include "zeOverlapGraph.h"
#include "zePrintsView.h"

struct PartnerBands {
    int clone = 0;
    std::vector<int> own;      // its bands that x lacks, ascending
    std::vector<char> matched; // per band of x: matched by it
    int matchedCount = 0;
};

// Fills p (all but p.clone) from the partner's bands y and x's bands x.
void splitPartnerBands(const std::vector<int>& y, const std::vector<int>& x, int tolerance,
                       PartnerBands& p);

// The partners of x in g (in g's order) holding at least fewestOwn bands
// that x lacks: those that reach past x.
std::vector<PartnerBands> partnersReachingPast(const OverlapGraph& g, const PrintsView& prints,
                                               int x, int tolerance, int fewestOwn);

#endif
