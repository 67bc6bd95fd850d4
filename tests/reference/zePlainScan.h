// The plain scan: every pair walked band by band and scored, with no bound
// to rule pairs out. Far too slow for a library, it is the yardstick that
// the pair scan (zePairScan.h) is checked against.
#ifndef ZE_PLAINSCAN_H
#define ZE_PLAINSCAN_H

#include <vector>

#include "zeFingerprint.h"
#include "zePairScan.h"

// For rows i = first, first + step, ... and every j > i: the pair's score
// (scorePair), kept in byRow[c][i] for each cutoffs[c] it meets. byRow must
// hold cutoffs.size() vectors of prints.size() rows; rows of other `first`s
// are left alone, so that threads may fill one byRow side by side.
void plainScanRows(const std::vector<Fingerprint>& prints, int tolerance,
                   const std::vector<double>& cutoffs, int first, int step,
                   std::vector<std::vector<std::vector<PairScore>>>& byRow);

// Every pair, on the calling thread: for each cutoff, the pairs meeting it
// in scan order (by first, then second).
std::vector<std::vector<PairScore>> plainScan(const std::vector<Fingerprint>& prints,
                                              int tolerance, const std::vector<double>& cutoffs);

#endif
