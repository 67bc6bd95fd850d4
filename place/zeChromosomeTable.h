// CHROMOSOMES.tsv of zePlace --chromosomes: a header and one row per
// contig, tab-separated, in the order anchorContigs gives:
//   contig chromosome start end strand markers status
// start and end are the lowest and highest map positions of the markers
// it stands on, as the marker map writes them; strand +, - or . (none
// shown); markers the number it stands on (of an unanchored contig: the
// markers that hit it). A conflict names its chromosomes, comma-separated,
// with - for start and end; an unanchored contig has - for all three.
#ifndef ZE_CHROMOSOMETABLE_H
#define ZE_CHROMOSOMETABLE_H

#include <string>
#include <vector>

#include "zeChromosomeAnchors.h"

std::string chromosomeTableHeader();
void appendChromosomeRow(std::string& out, const ContigAnchor& a, const MarkerMap& map);

#endif
