// The overlaps of a set of fingerprints as a graph: one vertex per
// fingerprint, one edge per pair that passed the build cutoff, each edge
// holding the pair's shared bands. Neighbours are kept sorted by index, so
// that an edge is found by binary search and every walk is deterministic.
#ifndef ZE_OVERLAPGRAPH_H
#define ZE_OVERLAPGRAPH_H

#include <cstddef>
#include <utility>
#include <vector>

#include "zePairScan.h"

struct Overlap {
    int to = 0;
    int shared = 0;
};

class OverlapGraph {
  public:
    OverlapGraph() = default;
    // pairs: first < second, each pair at most once.
    OverlapGraph(int vertices, const std::vector<PairScore>& pairs);
    // The same of pairs without their scores (shared 0).
    OverlapGraph(int vertices, const std::vector<std::pair<int, int>>& pairs);

    int size() const { return (int)start.size() - 1; }
    const Overlap* begin(int v) const { return edges.data() + start[v]; }
    const Overlap* end(int v) const { return edges.data() + start[v + 1]; }
    int degree(int v) const { return (int)(start[v + 1] - start[v]); }
    // The shared bands of the edge a-b, or -1 when there is none.
    int sharedOf(int a, int b) const;
    // Every edge once, as the pair that built it (first < second), ordered
    // by first, then second: what the constructor takes back.
    std::vector<PairScore> pairs() const;

  private:
    template <class Pairs, class Ends, class Shared>
    void build(int vertices, const Pairs& pairs, Ends ends, Shared shared);

    std::vector<size_t> start{0};
    std::vector<Overlap> edges;
};

#endif
