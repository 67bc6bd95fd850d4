// Groups that close on themselves. A bacterial chromosome, a plasmid or a
// chloroplast genome is a circle, and so is the overlap graph of its
// clones: laid out on a line by least squares, the offsets around the
// circle cannot add up, the layout folds, and the clones laid over each
// other are cut apart at several places. Opened once instead, it is a
// line whose layout holds.
//
// A group is looked at from a clone `a` farthest (in overlaps) from its
// first clone. Where the clones half-way around fall into two large parts
// (at least circleMeetingClones clones, the second at least a quarter of
// the first) that no overlap joins, the two parts
// meet again on both sides: near `a` and past the middle. A line's group
// does not part so; a fork (a chimeric clone's second piece) parts without
// meeting again. Where each meeting holds through at least
// circleMeetingClones clone-disjoint paths, the group is a circle, and the
// overlaps between the two parts near `a` are cut. Where one meeting holds
// through one clone alone and the other through that many, the one clone
// is cut from the clones past it: a circle's thin spot, or a chimeric
// clone joining the two ends of a line into a circle. Where both hold
// through one clone, the one whose partners either side share nothing even
// at the loose cutoff of the junctions (settings.looseCutoff, on `prints`)
// is cut: a chimeric clone's two places; either side of a thin spot of the
// genome the clones overlap a little. Where both sides of both overlap, a
// circle of two thin spots, the first is cut; where neither's do, or
// without `prints`, the layout's own cuts decide.
#ifndef ZE_CIRCULARGROUPS_H
#define ZE_CIRCULARGROUPS_H

#include <utility>
#include <vector>

#include "zeContigMap.h"
#include "zeMapSettings.h"
#include "zeOverlapGraph.h"
#include "zePrintsView.h"

struct OpenedCircles {
    // Edges of g (first < second), ascending, each once.
    std::vector<std::pair<int, int>> cuts;
    // Per group opened, two clones at the place (the one clone it closed
    // through first, where it did).
    std::vector<CircleOpening> openings;
};

// The overlaps that open each circular group of `groups` (as groupsApart
// gives them) into a line; none where settings.circleMeetingClones is 0.
OpenedCircles openCircles(const OverlapGraph& g, const std::vector<std::vector<int>>& groups,
                          const MapSettings& settings, const PrintsView* prints = nullptr);

#endif
