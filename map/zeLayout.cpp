#include "zeLayout.h"

#include "zeBurial.h"

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

// A clone lying (almost) inside the other may sit anywhere along it, so
// the centre offset is only an upper bound; such a pair says little about
// places.
const double CONTAINED_WEIGHT = 0.25;

// The members' edges among themselves, by local index.
struct LocalGraph {
    std::vector<size_t> start;
    std::vector<LocalEdge> edges;
};

LocalGraph localGraph(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                      const std::vector<int>& members, const std::vector<int>& local) {
    LocalGraph lg;
    lg.start.push_back(0);
    for (int v : members) {
        const int nv = (int)prints[v].bands.size();
        for (const Overlap* o = g.begin(v); o != g.end(v); ++o) {
            if (local[o->to] < 0) continue;
            const int nw = (int)prints[o->to].bands.size();
            bool contained = o->shared >= BURIED_SHARE * std::min(nv, nw);
            lg.edges.push_back({local[o->to], centreOffset(nv, nw, o->shared),
                                contained ? CONTAINED_WEIGHT : 1.0});
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

const int MOST_ROUNDS = 200;
const double SETTLED = 1e-3;

} // namespace

std::vector<double> layoutCentres(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                                  const std::vector<int>& members, std::vector<int>& scratch) {
    for (size_t i = 0; i < members.size(); ++i)
        scratch[members[i]] = (int)i;
    LocalGraph lg = localGraph(g, prints, members, scratch);
    for (int v : members)
        scratch[v] = -1;

    int end1 = 0, end2 = 0;
    distancesFrom(lg, 0, end1);
    std::vector<double> x = distancesFrom(lg, end1, end2);
    for (int round = 0; round < MOST_ROUNDS; ++round) {
        double moved = 0;
        for (size_t v = 0; v < x.size(); ++v) {
            double next = settledPlace(x[v], x, lg, (int)v);
            moved = std::max(moved, std::fabs(next - x[v]));
            x[v] = next;
        }
        if (moved < SETTLED) break;
    }
    return x;
}
