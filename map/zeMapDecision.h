// The one place where a clone's status is decided: from what the stages of
// the build found (zeMapBuild.h), each clone's contig, place, status, the
// clone it is buried in and the contigs a chimeric clone links.
//
// - A junction (zeJunctions.h) or a clone whose foreign piece was found
//   (zeChimeras.h) is chimeric, in no contig.
// - A group left with fewer than two clones after that is no contig: its
//   clone is in none, ok.
// - Every other clone keeps its group and place: Q when it fits there
//   badly (zeMisfits.h), else buried when it lies in another clone of its
//   group (zeBurial.h), else ok.
// - A chimeric clone links the contigs that remain of its group and of
//   its piece's group, or for a junction those of the clones it overlaps.
#ifndef ZE_MAPDECISION_H
#define ZE_MAPDECISION_H

#include <vector>

#include "zeClonePlaces.h"
#include "zeContigMap.h"
#include "zeOverlapGraph.h"

// Each by fingerprint.
struct MapFindings {
    std::vector<char> junctions; // taken out before the groups were formed
    ClonePlaces places;          // each group laid out, groups numbered 1, 2, ...
    std::vector<char> misfits;   // fit their group badly
    std::vector<int> pieceFrom;  // the group a foreign piece comes from, or 0
    // The clone each is buried in, among the clones that are not chimeric,
    // or -1.
    std::vector<int> buriedIn;
    std::vector<CircleOpening> circleOpenings; // groups that closed on themselves
};

// The map, its contigs numbered as the groups (numbers of groups that are
// no contig stay unused; zeContigNumbers.h numbers them in their order).
// g: the graph the junctions were found in.
ContigMap decideMap(const OverlapGraph& g, const MapFindings& found);

#endif
