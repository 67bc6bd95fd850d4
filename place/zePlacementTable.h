// PLACEMENTS.tsv: a header and one row per placed piece, tab-separated:
//   sequence seq_start seq_end contig left right strand fragments matched
//   clones status
// seq_start and seq_end 0-based, end excluded; contig its number in the
// contig table, left and right in its band units (right excluded), strand
// + or -; an unplaced sequence has "-" for contig, left, right and strand.
#ifndef ZE_PLACEMENTTABLE_H
#define ZE_PLACEMENTTABLE_H

#include <string>
#include <vector>

#include "zePlacement.h"

std::string placementTableHeader();
void appendPlacementRow(std::string& out, const PlacementRow& r);

#endif
