#include "zeLayout.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <queue>
#include <utility>

namespace {

struct LocalEdge {
    int to = 0;
    double offset = 0;
    double weight = 1;
};

// The members' edges among themselves, by local index.
struct LocalGraph {
    std::vector<size_t> start;
    std::vector<LocalEdge> edges;
};

LocalGraph localGraph(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                      const std::vector<int>& members, const std::vector<int>& local,
                      const MapSettings& s) {
    LocalGraph lg;
    lg.start.push_back(0);
    for (int v : members) {
        const int nv = (int)prints[v].bands.size();
        for (const Overlap* o = g.begin(v); o != g.end(v); ++o) {
            if (local[o->to] < 0) continue;
            const int nw = (int)prints[o->to].bands.size();
            // A clone lying (almost) inside the other may sit anywhere
            // along it, so the centre offset is only an upper bound; such
            // a pair says little about places.
            bool contained = o->shared >= s.buriedShare * std::min(nv, nw);
            lg.edges.push_back({local[o->to], centreOffset(nv, nw, o->shared),
                                contained ? s.containedWeight : 1.0});
        }
        lg.start.push_back(lg.edges.size());
    }
    return lg;
}

// Shortest-path distances from `from`; the farthest vertex (lowest index on
// a tie) goes to `farthest`.
std::vector<double> distancesFrom(const LocalGraph& lg, int from, int& farthest) {
    const size_t n = lg.start.size() - 1;
    std::vector<double> dist(n, std::numeric_limits<double>::infinity());
    using Item = std::pair<double, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    dist[from] = 0;
    queue.push({0, from});
    while (!queue.empty()) {
        auto [d, v] = queue.top();
        queue.pop();
        if (d > dist[v]) continue;
        for (size_t k = lg.start[v]; k < lg.start[v + 1]; ++k) {
            // A small step per edge keeps clones at one place apart in
            // the walk's order.
            double next = d + lg.edges[k].offset + 1e-3;
            if (next < dist[lg.edges[k].to]) {
                dist[lg.edges[k].to] = next;
                queue.push({next, lg.edges[k].to});
            }
        }
    }
    farthest = from;
    for (size_t v = 0; v < n; ++v)
        if (dist[v] > dist[farthest]) farthest = (int)v;
    return dist;
}

// The mean of the places the neighbours give v, each on the side of it
// where v now lies.
double settledPlace(double at, const std::vector<double>& x, const LocalGraph& lg, int v) {
    double sum = 0, weights = 0;
    for (size_t k = lg.start[v]; k < lg.start[v + 1]; ++k) {
        const LocalEdge& e = lg.edges[k];
        double other = x[e.to];
        bool after = at > other || (at == other && v > e.to);
        sum += e.weight * (after ? other + e.offset : other - e.offset);
        weights += e.weight;
    }
    return weights > 0 ? sum / weights : at;
}

// Settles the places of every member (Gauss-Seidel).
void settle(const LocalGraph& lg, std::vector<double>& x, const MapSettings& s) {
    for (int round = 0; round < s.mostRounds; ++round) {
        double moved = 0;
        for (size_t v = 0; v < x.size(); ++v) {
            double next = settledPlace(x[v], x, lg, (int)v);
            moved = std::max(moved, std::fabs(next - x[v]));
            x[v] = next;
        }
        if (moved < s.settled) break;
    }
}

const LocalEdge* findEdge(const LocalGraph& lg, int from, int to) {
    const LocalEdge* first = lg.edges.data() + lg.start[from];
    const LocalEdge* last = lg.edges.data() + lg.start[from + 1];
    const LocalEdge* found = std::lower_bound(
        first, last, to, [](const LocalEdge& e, int target) { return e.to < target; });
    return found != last && found->to == to ? found : nullptr;
}

double median(std::vector<double>& values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Each member's excess: with u, v and w in a row, offset(u, v) +
// offset(v, w) - offset(u, w) is v's excess, the others' cancelling. The
// median over v's triples, or else (at an end) over all of the contig's
// when it has enough of them, or else `typical`, which it then becomes.
std::vector<double> excessBands(const LocalGraph& lg, const std::vector<double>& x,
                                const MapSettings& s, double& typical) {
    std::vector<std::vector<double>> samples(x.size());
    std::vector<double> all;
    for (size_t v = 0; v < x.size(); ++v) {
        for (size_t i = lg.start[v]; i < lg.start[v + 1]; ++i) {
            const LocalEdge& left = lg.edges[i];
            if (x[left.to] >= x[v] || left.weight < 1) continue;
            for (size_t j = lg.start[v]; j < lg.start[v + 1]; ++j) {
                const LocalEdge& right = lg.edges[j];
                if (x[right.to] <= x[v] || right.weight < 1) continue;
                const LocalEdge* across = findEdge(lg, left.to, right.to);
                if (!across || across->weight < 1) continue;
                samples[v].push_back(left.offset + right.offset - across->offset);
            }
        }
        all.insert(all.end(), samples[v].begin(), samples[v].end());
    }
    if (all.size() >= (size_t)s.enoughTriples) typical = median(all);
    std::vector<double> excess(x.size(), typical);
    for (size_t v = 0; v < x.size(); ++v)
        if (samples[v].size() >= (size_t)s.fewestTriples) excess[v] = median(samples[v]);
    return excess;
}

} // namespace

ContigLayout layoutContig(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                          const std::vector<int>& members, const MapSettings& settings,
                          std::vector<int>& scratch, double& typicalExcess) {
    for (size_t i = 0; i < members.size(); ++i)
        scratch[members[i]] = (int)i;
    LocalGraph lg = localGraph(g, prints, members, scratch, settings);
    for (int v : members)
        scratch[v] = -1;

    ContigLayout layout;
    int end1 = 0, end2 = 0;
    distancesFrom(lg, 0, end1);
    layout.centres = distancesFrom(lg, end1, end2);
    settle(lg, layout.centres, settings);
    layout.excess = excessBands(lg, layout.centres, settings, typicalExcess);
    for (size_t v = 0; v < members.size(); ++v)
        for (size_t k = lg.start[v]; k < lg.start[v + 1]; ++k) {
            LocalEdge& e = lg.edges[k];
            e.offset = std::max(0.0, e.offset - (layout.excess[v] + layout.excess[e.to]) / 2);
            // Shorter offsets than the sure one may stand either way, and
            // count less.
            double sure = std::min(1.0, std::max(0.05, e.offset / settings.sureOffset));
            e.weight *= sure * sure;
        }
    settle(lg, layout.centres, settings);
    return layout;
}
