// The placed sequences as AGP 2.1: one object per contig with placed
// sequences, named "contig<N>" as in the map's GFF3, holding its placed
// and split pieces in map order (by left, then right) with their strand,
// and between each two a gap line of unknown size: 100 N, type scaffold,
// linkage yes, evidence map. Ambiguous pieces are left out: their place
// is not known. Object coordinates run on from 1 without a break; parts
// are numbered from 1 in each object; a component is its piece of the
// sequence, 1-based and closed, within the sequence's length.
#ifndef ZE_PLACEAGP_H
#define ZE_PLACEAGP_H

#include <string>
#include <vector>

#include "zePlacement.h"

const long AGP_GAP = 100;

std::string placementAgp(const std::vector<PlacementRow>& rows);

// The placed and split rows of each contig in map order; ambiguous and
// unplaced ones left out. By contig number, ascending.
std::vector<std::vector<const PlacementRow*>> rowsAlongContigs(const std::vector<PlacementRow>& rows);

#endif
