// The placements as GFF3 on the map's contigs (named "contig<N>" as
// zeContig's GFF3 names them, so that both files load together): one
// feature of type "match", source zePlace, per placed, split or ambiguous
// row, from left + 1 to right in band units, with its strand. Attributes:
// ID=<sequence>:<seq_start>-<seq_end> (a repeat gets ".2", ...),
// Name=<sequence>, seq_start, seq_end (0-based, end excluded), matched,
// fragments, status.
#ifndef ZE_PLACEGFF_H
#define ZE_PLACEGFF_H

#include <string>
#include <vector>

#include "zePlacement.h"

std::string placementGff(const std::vector<PlacementRow>& rows);

#endif
