// The sequences of a FASTA file placed one by one as the file is read
// (zeFastaReader.h): each record digested (zeDigest.h) line by line, its
// fragments within the clones' size range turned into bands of the
// standard scale, and placed (zePlacement.h). A second record of one name
// is an error: the outputs name pieces by their sequence. Sequences
// without a site are told on WARNING lines, and the bases that are N or
// IUPAC codes on one.
#ifndef ZE_PLACESEQUENCES_H
#define ZE_PLACESEQUENCES_H

#include <string>
#include <vector>

#include "zeMapFragments.h"
#include "zePlacement.h"
#include "zeSizeScale.h"

// The sequences with no site told one by one; more are counted.
const int NO_SITE_TOLD = 10;

bool placeSequences(const std::string& path, const std::string& site, const SizeScale& scale,
                    const PlaceMap& map, const PlaceSettings& settings,
                    std::vector<PlacementRow>& rows, std::string& error);

#endif
