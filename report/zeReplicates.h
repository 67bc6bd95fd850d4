// Copies of one clone on a gel (samples with the same clone and digest
// names, told apart by their copy numbers) must carry the same bands. Every
// pair of copies is scored as zeCompare scores a pair of fingerprints.
#ifndef ZE_REPLICATES_H
#define ZE_REPLICATES_H

#include <vector>

#include "zeBandCounts.h"
#include "zeBandSpread.h"
#include "zePairScan.h"
#include "zeStepData.h"

// A pair of copies whose score is above this does not match: a mis-loaded
// lane or a failed digest.
const double REPLICATE_SCORE_LIMIT = 1e-6;

// The pair's score from the comparison's scorePair, with first and second
// naming the two samples (first < second) and their band counts beside.
struct ReplicatePair : PairScore {
    int bandsFirst = 0, bandsSecond = 0;
    // |difference| of the bands paired for the gel's spread (nearest
    // bands within SPREAD_WINDOW), in band order of the first copy.
    std::vector<int> bandDifferences;

    bool mismatched() const { return score > REPLICATE_SCORE_LIMIT; }
};

// Every pair of copies of every clone on the gel, ordered by the first
// sample and then the second, from the bands as the bands file holds them
// (standard positions truncated to integers) at the default tolerance.
// `bands` is countNamedSamples(d) of a project loaded with loadReportProject.
std::vector<ReplicatePair> replicatePairs(StepData& d, const std::vector<SampleBands>& bands);

// How many of the pairs do not match.
int replicateWarnings(const std::vector<ReplicatePair>& pairs);

// The spread of the band differences over the pairs of copies that match:
// a pair that does not match is a failed lane, not the gel's noise.
BandSpread replicateSpread(const std::vector<ReplicatePair>& pairs);

#endif
