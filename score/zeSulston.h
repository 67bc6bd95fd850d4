// Scores of a pair of fingerprints: the Sulston score (the chance that M or
// more bands coincide by accident) and the Dice coefficient.
#ifndef ZE_SULSTON_H
#define ZE_SULSTON_H

#include <vector>

#include "zeScale.h"

// The default tolerance in standard units and the default cutoff of a pair.
const int DEFAULT_TOLERANCE = 7;
const double DEFAULT_CUTOFF = 1e-12;
// The largest tolerance: the window of a band match, 2 t, stays shorter
// than the scale, so that a chance match is never certain.
const int MAX_TOLERANCE = (NORM_SCALE_LENGTH - 1) / 2;

// Natural log of the Sulston score of M shared bands between fingerprints
// of n1 and n2 bands at the given tolerance (0 .. MAX_TOLERANCE). With nL <= nH
// the two counts, b = 2 t / NORM_SCALE_LENGTH and p = 1 - (1 - b)^nH, the score is
// P = sum over j = M .. nL of C(nL, j) p^j (1 - p)^(nL - j),
// summed in log space so that it keeps its digits far below the double
// range. 0 (P = 1) when M = 0 or nL = 0; -infinity when no band can match
// by chance (t = 0) and M > 0.
double sulstonLogScore(int m, int n1, int n2, int tolerance);

// exp(sulstonLogScore), or 0 when that is below the smallest normal double.
double sulstonScore(int m, int n1, int n2, int tolerance);

// 2 M / (n1 + n2), or 0 when both are empty.
double diceCoefficient(int m, int n1, int n2);

// For a tolerance and a cutoff: the fewest shared bands with which a pair
// of given band counts scores at most the cutoff. The score falls as M
// rises, so a pair needs at least this many; when even M = nL does not
// reach the cutoff the pair cannot pass at all. It is a bound: a pair that
// has this many may still score just above the cutoff, so its exact score
// decides. Counts up to largestCount (at most TABLE_LIMIT) are tabled,
// larger ones computed on demand.
class SharedBandsNeeded {
  public:
    // The table costs about size^3 steps to fill: 256 (a fraction of a
    // second) is far more bands than a clone's fingerprint has.
    static constexpr int TABLE_LIMIT = 256;
    SharedBandsNeeded(int tolerance, double cutoff, int largestCount);
    // A value above min(n1, n2) means "never".
    int operator()(int n1, int n2) const;

  private:
    int compute(int nL, int nH) const;
    int tolerance;
    double cutoff;
    int size;
    std::vector<int> table; // [nL * size + nH], nL <= nH
};

#endif
