// The strongest pairs of a scan, kept in bounded memory for the page.
#ifndef ZE_STRONGESTPAIRS_H
#define ZE_STRONGESTPAIRS_H

#include <vector>

#include "zePairScan.h"

// Keeps the `limit` strongest pairs seen: lowest score first, then most
// shared bands, then input order.
class StrongestPairs {
  public:
    explicit StrongestPairs(int limit) : limit(limit) {}
    void add(const PairScore& p);
    std::vector<PairScore> sorted() const;

  private:
    int limit;
    std::vector<PairScore> heap; // the weakest kept pair on top
};

#endif
