// Where the build has placed each clone before its status is decided: the
// group of overlapping clones (a contig in the making) it lies in and its
// place there. The stages after the layout read these places; the map
// (zeContigMap.h) is made from them at the end (zeMapDecision.h).
#ifndef ZE_CLONEPLACES_H
#define ZE_CLONEPLACES_H

#include <algorithm>
#include <vector>

struct ClonePlace {
    int contig = 0;             // the group, 1, 2, ...; 0: in none
    long left = -1, right = -1; // consensus-band units, left < right; -1 in none
};

// By fingerprint.
using ClonePlaces = std::vector<ClonePlace>;

// The highest group number of `places` (0 when none is placed).
inline int groupsOf(const ClonePlaces& places) {
    int highest = 0;
    for (const ClonePlace& p : places)
        highest = std::max(highest, p.contig);
    return highest;
}

#endif
