#include "zeOverlapGraph.h"

#include <algorithm>

template <class Pairs, class Ends, class Shared>
void OverlapGraph::build(int vertices, const Pairs& pairs, Ends ends, Shared shared) {
    start.assign((size_t)vertices + 1, 0);
    edges.resize(pairs.size() * 2);
    for (const auto& p : pairs) {
        ++start[(size_t)ends(p).first + 1];
        ++start[(size_t)ends(p).second + 1];
    }
    for (int v = 0; v < vertices; ++v)
        start[(size_t)v + 1] += start[v];
    std::vector<size_t> next(start.begin(), start.end() - 1);
    for (const auto& p : pairs) {
        const std::pair<int, int> e = ends(p);
        edges[next[e.first]++] = {e.second, shared(p)};
        edges[next[e.second]++] = {e.first, shared(p)};
    }
    for (int v = 0; v < vertices; ++v)
        std::sort(edges.begin() + (long)start[v], edges.begin() + (long)start[v + 1],
                  [](const Overlap& a, const Overlap& b) { return a.to < b.to; });
}

OverlapGraph::OverlapGraph(int vertices, const std::vector<PairScore>& pairs) {
    build(
        vertices, pairs, [](const PairScore& p) { return std::make_pair(p.first, p.second); },
        [](const PairScore& p) { return p.shared; });
}

OverlapGraph::OverlapGraph(int vertices, const std::vector<std::pair<int, int>>& pairs) {
    build(
        vertices, pairs, [](const std::pair<int, int>& p) { return p; },
        [](const std::pair<int, int>&) { return 0; });
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
