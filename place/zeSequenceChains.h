// Where a sequence's fragments run along a contig: chains of fragment
// matches whose places in the contig follow their order in the sequence.
//
// A fragment of the sequence matches a fragment of the map (zeMapFragments.h)
// when their sizes lie within its tolerance on the standard scale. Two
// bands differ by the gel errors of both; an in-silico size has none, so
// the same share of true matches lies within t / sqrt 2 of one band (the
// match tolerance). A map fragment's size is the mean of its n bands,
// whose error is a band's over sqrt n: its tolerance is the match
// tolerance times sqrt(1 / n + SIZE_FLOOR^2), the floor for what the
// bands share (one gel's calibration). A chain is a run of such matches, one per sequence fragment,
// on one contig, that step along the contig as along the sequence: with
// strand + the contig's place rises by about one band unit per fragment of
// the sequence (unitsPerBand), with - it falls; a step of d fragments may
// miss by at most `window` + `slack` x d units, and so may the place of
// each match from the line through the chain's first. The longest chain on each contig and strand
// is found by dynamic programming, then the longest of the matches left,
// up to CHAINS_PER_STRAND.
//
// Chance. Given the chain's first match, each later fragment k of the
// sequence finds a map fragment of its size near its expected place with
// the chance q_k = 1 - exp(-e), e the expected number of map fragments
// there: the map's fragments per band unit x (2 window + 1) x the share of
// the map's fragments its size matches. A chain of m matches over n
// fragments from its first to its last has the chance of m - 1 or more
// successes in the n - 1 trials of those q_k (a Poisson binomial); times the number of matches that could
// have started it on either strand, that is the expected number of chains
// as good found by chance, its `chance`. The pair score is the same
// binomial tail over band matches (zeSulston.h), here along a line.
// A chance match's size lies anywhere within its tolerance, a true one's
// mostly near the middle: a second tail counts the close matches too (m -
// 1 or more successes, c or more of them close, each success close with
// the chance CLOSE_SIZE), and the chain takes the lesser of the two tails,
// twice over for having had the two to choose from.
#ifndef ZE_SEQUENCECHAINS_H
#define ZE_SEQUENCECHAINS_H

#include <cstdint>
#include <vector>

#include "zeMapFragments.h"

const int CHAINS_PER_STRAND = 3;
// Fewer matches than this never pass any cutoff worth the name.
const int FEWEST_CHAINED = 3;
// The share of a band's error that the mean of many bands keeps.
const double SIZE_FLOOR = 0.25;
// Longer runs of trials take the binomial of their mean chance: they pass
// any cutoff by far or not at all.
const int LONGEST_EXACT_TAIL = 64;
// A match whose size lies within this share of its tolerance is close.
// Measured on simulated libraries (bench/place_bench.py): 81% of the
// matches of chains far beyond chance are, 40% of those of chance chains;
// 0.3 and 0.5 placed as many.
const double CLOSE_SIZE = 0.4;

struct ChainSettings {
    int tolerance = 7; // the bands' tolerance, zeContig's -t
    double window = 3;
    double slack = 0.3;
    double unitsPerBand = 1; // the map's band units per fragment (zeMapFragments.h)
};

// The tolerance of a size match against one band, in standard units.
double matchTolerance(const ChainSettings& s);
// The tolerance of a size match against a map fragment of `support` bands.
double fragmentTolerance(const ChainSettings& s, int support);

// A fragment of the sequence within the gel's size range.
struct SequenceBand {
    int64_t start = 0, length = 0; // in the sequence
    double units = 0;              // its size on the standard scale
};

struct Chain {
    int contig = 0;
    int strand = 1;                  // +1 or -1
    std::vector<int> bands;          // the sequence bands matched, ascending
    std::vector<double> places;      // where each lies in the contig
    double logChance = 0;            // natural log of the chance above
    int matched() const { return (int)bands.size(); }
    int first() const { return bands.front(); }
    int last() const { return bands.back(); }
};

// Every chain of at least FEWEST_CHAINED matches, in no particular order.
std::vector<Chain> findChains(const std::vector<SequenceBand>& seq, const PlaceMap& map,
                              const ChainSettings& s);

// log of P(X >= m) for X binomial of n trials with chance q.
double logBinomialTail(int m, int n, double q);
// log of P(X >= m) for X the number of successes of trials of chances q.
double logPoissonBinomialTail(int m, const std::vector<double>& q);
// log of P(H >= hits and C >= close) over trials of hit chances q, each
// hit close with the chance closeShare: H the hits, C the close ones.
double logCloseTail(int hits, int close, const std::vector<double>& q, double closeShare);

#endif
