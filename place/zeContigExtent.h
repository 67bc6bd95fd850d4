// A contig's ends against the gaps of the marker map. Beyond the outermost
// marker a contig stands on lies, on the map, the next marker of the
// chromosome; a contig that runs on past it without a hit of it claims a
// stretch of chromosome it cannot hold: on a contig of shared markers,
// several of its clones there would carry that marker. So an anchored
// contig whose end beyond its outermost marker (in map units, through the
// calibration) is longer than the map's gap to the next marker, plus
// EXTENT_SLACK times the map's noise, contradicts the map: a false join
// whose other side carries no marker of its own. Without a strand either
// end may face either gap; the contig contradicts the map only when
// neither way fits.
#ifndef ZE_CONTIGEXTENT_H
#define ZE_CONTIGEXTENT_H

#include <vector>

#include "zeChromosomeAnchors.h"

// Measured with bench/chromosome_bench.py: at 4 no contig of one
// chromosome was flagged at 2, 5 or 10 chromosomes; at 3, 0.2-0.4% of the
// clones anchored were.
const double EXTENT_SLACK = 4;

// By marker: the map's distance to the nearest counted marker of its
// chromosome below and above it; infinite at the chromosome's ends. Markers
// not counted get infinite gaps.
struct MarkerGaps {
    std::vector<double> below, above;
};
MarkerGaps markerGaps(const MarkerMap& map, const std::vector<bool>& counted);

// True when anchored contig `a`, of extent [left, right), runs past the
// map's gaps; `on` are all its markers (markersOnContig), the ones of its
// chromosome vouching for its extent.
bool extentContradictsMap(const ContigAnchor& a, const std::vector<MarkerOnContig>& on,
                          const MarkerMap& map, const MarkerGaps& gaps,
                          const MapCalibration& calibration, long left, long right);

#endif
