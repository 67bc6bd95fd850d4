#include "zeOverlapGraph.h"

#include <algorithm>

OverlapGraph::OverlapGraph(int vertices, const std::vector<PairScore>& pairs)
    : start((size_t)vertices + 1, 0), edges(pairs.size() * 2) {
    for (const PairScore& p : pairs) {
        ++start[(size_t)p.first + 1];
        ++start[(size_t)p.second + 1];
    }
    for (int v = 0; v < vertices; ++v)
        start[(size_t)v + 1] += start[v];
    std::vector<size_t> next(start.begin(), start.end() - 1);
    for (const PairScore& p : pairs) {
        edges[next[p.first]++] = {p.second, p.shared};
        edges[next[p.second]++] = {p.first, p.shared};
    }
    for (int v = 0; v < vertices; ++v)
        std::sort(edges.begin() + (long)start[v], edges.begin() + (long)start[v + 1],
                  [](const Overlap& a, const Overlap& b) { return a.to < b.to; });
}

std::vector<PairScore> OverlapGraph::pairs() const {
    std::vector<PairScore> out;
    for (int v = 0; v < size(); ++v)
        for (const Overlap* o = begin(v); o != end(v); ++o)
            if (v < o->to) {
                PairScore p;
                p.first = v;
                p.second = o->to;
                p.shared = o->shared;
                out.push_back(p);
            }
    return out;
}

int OverlapGraph::sharedOf(int a, int b) const {
    const Overlap* found = std::lower_bound(begin(a), end(a), b,
                                            [](const Overlap& o, int to) { return o.to < to; });
    return found != end(a) && found->to == b ? found->shared : -1;
}
