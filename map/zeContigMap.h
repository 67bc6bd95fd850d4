// A physical map: every fingerprint's contig, its place in the contig and
// its status, as zeContig builds it (zeMapBuild.h) and writes it
// (zeContigTable.h).
#ifndef ZE_CONTIGMAP_H
#define ZE_CONTIGMAP_H

#include <vector>

#include "zeCommonBands.h"

enum class CloneStatus {
    Ok,
    Buried,   // at least the buried share of its bands lie in one clone of its contig
    Q,        // many of its bands are found in no clone placed around it
    Chimeric, // alone joins two groups of clones; in no contig
};

struct PlacedClone {
    int contig = 0;           // 1, 2, ...; 0: in no contig
    long left = -1, right = -1; // consensus-band units, left < right; -1 in no contig
    CloneStatus status = CloneStatus::Ok;
    int buriedIn = -1;        // the fingerprint it is buried in, or -1
    std::vector<int> links;   // a chimeric clone's contigs, ascending
};

// Where a group that closed on itself was opened: two clones either side,
// and whether it closed through one clone alone (`first`), which may as
// well be a chimeric clone joining a line's two ends.
struct CircleOpening {
    int first = 0, second = 0;
    bool throughOne = false;
};

struct ContigMap {
    std::vector<PlacedClone> clones; // one per fingerprint, in the fingerprints' order
    int contigs = 0;                 // numbered 1 .. contigs; numbers carried over from
                                     // an earlier build (zeContigNames.h) may leave gaps
    std::vector<BandRange> maskedBands; // common positions, masked in every clone
    long crowdedPairsSetAside = 0;      // pairs passing only as if the bands were evenly spread
    long crowdedPairsRestored = 0;      // of those, the ones the passing pairs bear out
    long repeatPairsSetAside = 0;       // pairs that would have joined on repeat bands
    long repeatCopyOverlapsCut = 0;     // overlaps with clones at another copy of a repeat
    // Groups that closed on themselves, opened once (zeCircularGroups.h).
    std::vector<CircleOpening> circleOpenings;
    // With marker hits (zeMarkerPairs.h): the fingerprints the typical
    // marker hits, the markers set aside as repeat probes, and the pairs
    // the markers added.
    int markerTypicalHits = 0;
    int markerRepeatProbes = 0;
    long markerPairsAdded = 0;
};

#endif
