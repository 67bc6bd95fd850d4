// The comparison page of zeCompare: one self-contained HTML document
// (inline CSS, inline SVG, the heatmap as a PNG data: URI, no scripts) with
// a summary, the strongest pairs, the similarity tree and a heatmap.
#ifndef ZE_COMPAREPAGE_H
#define ZE_COMPAREPAGE_H

#include <string>
#include <vector>

#include "zeFingerprint.h"
#include "zePairScan.h"
#include "zeStrongestPairs.h"

// The tree and the heatmap are drawn for at most this many fingerprints.
const int MAX_TREE_FINGERPRINTS = 1000;
// The table of the strongest pairs holds at most this many rows.
const int STRONGEST_PAIRS = 50;

struct ComparePageInput {
    std::vector<std::string> files;
    const std::vector<Fingerprint>* prints = nullptr;
    int tolerance = DEFAULT_TOLERANCE;
    double cutoff = DEFAULT_CUTOFF;
    long long pairsPassing = 0;
    std::vector<PairScore> strongest; // strongest first
};

std::string comparePage(const ComparePageInput& input);

#endif
