// The pair table: one tab-separated row per pair, with a header row.
#ifndef ZE_PAIRTABLE_H
#define ZE_PAIRTABLE_H

#include <string>
#include <vector>

#include "zeFingerprint.h"
#include "zePairScan.h"

// "clone1 gel1 ordinal1 bands1 clone2 gel2 ordinal2 bands2 shared score
// dice", tab-separated, with a line end. The ordinal (a fingerprint's place
// in its file) tells copies of a clone on one gel apart.
std::string pairTableHeader();

// Appends the row of p: names (tabs and line ends in them become blanks),
// ordinals, band counts, shared bands, the score as "%.3g" and Dice as "%.3f".
void appendPairRow(std::string& out, const std::vector<Fingerprint>& prints, const PairScore& p);

#endif
