// The table of the minimal tiling paths (zeTilingPath.h): tab-separated,
// a header line, one row per clone of a path, by contig number and then
// along the path (by left end, but for clones taken past an end of its core,
// which come outward of it).
//
//   contig clone gel ordinal left right weak status
//
// weak is "weak" on a clone whose step from the clone before it is weak,
// "-" otherwise. status is the clone's status in the contig table: ok,
// buried (a buried clone may reach a little past the one it lies in), or
// Q on a clone at an end of the path, taken because it may reach past the
// other clones at that end of the contig (zeTilingPath.h).
#ifndef ZE_TILINGTABLE_H
#define ZE_TILINGTABLE_H

#include <string>
#include <vector>

#include "zeContigMap.h"
#include "zeFingerprint.h"
#include "zeTilingPath.h"

std::string tilingTableHeader();

std::string tilingTableRows(const std::vector<Fingerprint>& prints, const ContigMap& map,
                            const std::vector<std::vector<TilingStep>>& paths);

#endif
