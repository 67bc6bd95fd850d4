#include "zeTrustedPairs.h"

#include <algorithm>

#include "zeOverlapGraph.h"
#include "zeUnionFind.h"

namespace {

bool shareANeighbour(const OverlapGraph& g, int a, int b) {
    const Overlap *i = g.begin(a), *j = g.begin(b);
    while (i != g.end(a) && j != g.end(b)) {
        if (i->to == j->to) return true;
        if (i->to < j->to)
            ++i;
        else
            ++j;
    }
    return false;
}

} // namespace

std::vector<PairScore> trustedPairs(int vertices, const std::vector<PairScore>& pairs) {
    OverlapGraph all(vertices, pairs);
    std::vector<char> keep(pairs.size(), 0);
    std::vector<size_t> lone;
    UnionFind groups(vertices);
    for (size_t k = 0; k < pairs.size(); ++k) {
        if (shareANeighbour(all, pairs[k].first, pairs[k].second)) {
            keep[k] = 1;
            groups.unite(pairs[k].first, pairs[k].second);
        } else {
            lone.push_back(k);
        }
    }
    // Strongest first, so that a clone with several lone pairs joins the
    // group it overlaps best.
    std::sort(lone.begin(), lone.end(), [&](size_t x, size_t y) {
        if (pairs[x].score != pairs[y].score) return pairs[x].score < pairs[y].score;
        return x < y;
    });
    for (size_t k : lone) {
        int a = pairs[k].first, b = pairs[k].second;
        if (groups.find(a) == groups.find(b) || groups.sizeOf(a) == 1 || groups.sizeOf(b) == 1) {
            keep[k] = 1;
            groups.unite(a, b);
        }
    }
    std::vector<PairScore> kept;
    for (size_t k = 0; k < pairs.size(); ++k)
        if (keep[k]) kept.push_back(pairs[k]);
    return kept;
}
