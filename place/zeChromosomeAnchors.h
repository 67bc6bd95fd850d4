// The map's contigs placed on the chromosomes by the markers their clones
// carry. The rule, in the order it is applied (man zePlace has it for the
// user):
//  1. A marker that hits more than REPEAT_FACTOR times the median number of
//     clones per marker, plus REPEAT_SLACK, is a repeat probe: left out.
//  2. On each contig, a marker's hit clones are swept for the place most of
//     them overlap: that place is the marker's position on the contig, and
//     the number overlapping it its depth. A marker of depth 2 or more is
//     shared: several clones that overlap carry it, which stray hits (a
//     false hit, a chimeric clone's other piece) almost never do.
//  3. A contig stands on its shared markers; where it has none, on its lone
//     hits the fingerprints confirm (zeLoneHits.h); where it has none of
//     these either, on the markers of a chromosome of which two or more hit
//     distinct clones. The chromosomes of the markers it stands on are the
//     ones it supports: one, anchored; two or more, conflict; none (no
//     markers, or lone unconfirmed hits only), unanchored. Stray hits
//     beside shared markers are ignored.
//  4. An anchored contig is a conflict after all when its markers, in
//     their order along the contig, jump by more than MAX_RANK_JUMP places
//     in the map's order of the chromosome's markers (it joins distant
//     parts of the chromosome), or when it has MIXED_FEWEST or more and
//     more than a third of their pairs run against the order most of them
//     follow (no order at all: swaps of neighbours, the map's noise, are
//     not a conflict).
//  5. The map's unit against the contig's is measured on the contigs with
//     3 or more markers (the median of their slopes), and the map's noise
//     as the spread of the markers about those lines. A contig has a
//     strand when its markers span at least STRAND_SPAN times the noise
//     and its slope agrees with most pairs of its markers; + when the map
//     positions grow from its left end. Its markers here are also its lone
//     hits of the markers next to its own in the map's order: an end clone
//     carries the next marker, a stray hit almost never lands beside them.
//  5b. An anchored contig whose ends run past the map's gaps is a
//     conflict after all (zeContigExtent.h).
//  6. Along a chromosome, contigs are ordered by their centres: the mean of
//     their markers' positions, each moved to the contig's middle along the
//     line where the contig has a strand.
#ifndef ZE_CHROMOSOMEANCHORS_H
#define ZE_CHROMOSOMEANCHORS_H

#include <cstddef>
#include <vector>

#include "zeMarkerMap.h"

const double REPEAT_FACTOR = 3;
const double REPEAT_SLACK = 2;
const long MAX_RANK_JUMP = 10;
const size_t MIXED_FEWEST = 4;
// Measured: at 3.5 every strand given was right on four simulated
// libraries, at 3 one in a hundred was wrong.
const double STRAND_SPAN = 3.5;

// One hit on one clone of a contig: the clone's place in contig units
// [left, right) and the marker, an index into the map.
struct ContigHit {
    long left = 0, right = 0;
    size_t clone = 0; // any number that tells the contig's clones apart
    size_t marker = 0;
    bool confirmed = false; // a lone hit the fingerprints confirm (zeLoneHits.h)
};

struct AnchorContig {
    int contig = 0;
    long left = 0, right = 0; // the contig's extent in its units
    long clones = 0;
    std::vector<ContigHit> hits;
};

struct MarkerOnContig {
    size_t marker = 0;
    double at = 0; // position along the contig, in its units
    int depth = 0; // hit clones overlapping there
    bool confirmed = false; // a lone hit the fingerprints confirm
};

enum class AnchorStatus { Anchored, Conflict, Unanchored };
const char* anchorStatusName(AnchorStatus s);

struct ContigAnchor {
    int contig = 0;
    long clones = 0;
    AnchorStatus status = AnchorStatus::Unanchored;
    std::vector<size_t> chromosomes;     // supported ones, ascending
    std::vector<MarkerOnContig> markers; // those it stands on (all hits' when unanchored)
    int strand = 0;                      // +1, -1, or 0: none shown
    double centre = 0;                   // in map units, when anchored
    size_t lowest = 0, highest = 0;      // its markers of the lowest and highest map position
};

// The markers' positions along one contig, ascending by position; markers
// left out are skipped.
std::vector<MarkerOnContig> markersOnContig(const AnchorContig& c, const std::vector<bool>& leftOut);

// The median number of clones per marker, of the markers that hit any; 0
// when none does.
double medianClonesPerMarker(const std::vector<long>& clonesHit);

// Repeat probes by rule 1, from the number of clones each marker hits.
std::vector<bool> repeatProbes(const std::vector<long>& clonesHit);

// The rank of every marker among its chromosome's counted markers in map
// order (ties share the lower rank); 0 for those not counted.
std::vector<long> mapRanks(const MarkerMap& map, const std::vector<bool>& counted);

// Rule 5's markers of anchored contig `a`: those it stands on, and those of
// `all` (markersOnContig) of its chromosome next to theirs in `ranks`' order.
std::vector<MarkerOnContig> strandMarkers(const ContigAnchor& a, const std::vector<MarkerOnContig>& all,
                                          const MarkerMap& map, const std::vector<long>& ranks);

// Rules 2 to 4 for one contig.
ContigAnchor anchorContig(const AnchorContig& c, const MarkerMap& map,
                          const std::vector<bool>& leftOut, const std::vector<long>& ranks);

// Rule 5's measure: map units per contig unit and the map's noise; known
// false when too few contigs have 3 or more markers.
struct MapCalibration {
    bool known = false;
    double scale = 0, noise = 0;
};
MapCalibration calibrateMap(const std::vector<ContigAnchor>& anchors, const MarkerMap& map);

// Rules 5 and 6 for one anchored contig of extent [left, right), on
// `markers`: its own and its lone hits next to them in the map.
void orientContig(ContigAnchor& a, const std::vector<MarkerOnContig>& markers, const MarkerMap& map,
                  const MapCalibration& calibration, long left, long right);

// Every contig anchored, oriented and in output order: along each
// chromosome (in map order) by centre, then the conflicts, then the
// unanchored, each by contig number. The ranks count the markers that hit
// some contig and are not left out.
std::vector<ContigAnchor> anchorContigs(const std::vector<AnchorContig>& contigs,
                                        const MarkerMap& map, const std::vector<bool>& leftOut);

#endif
