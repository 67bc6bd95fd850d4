// The placements as GFF3 on the map's contigs (named "contig<N>" as
// zeContig's GFF3 names them): one feature of type "match", source
// zePlace, per placed, split or ambiguous row, from left + 1 to right in
// band units, with its strand. Attributes: ID=<sequence>:<seq_start>-
// <seq_end> (a repeat gets ".2", ...), Name=<sequence>, seq_start,
// seq_end (0-based, end excluded), matched, fragments, status.
#ifndef ZE_PLACEGFF_H
#define ZE_PLACEGFF_H

#include <string>
#include <vector>

#include "zeMapGff.h"
#include "zePlacement.h"

// The placements alone, a file that loads beside the map's own GFF3.
std::string placementGff(const std::vector<PlacementRow>& rows);

// The map's GFF3 (zeMapGff.h) as read, followed by the placements, their
// IDs unique among the map's too: one file of the map and its placements.
std::string placementGff(const MapGff& map, const std::vector<PlacementRow>& rows);

#endif
