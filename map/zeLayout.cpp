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
                      const std::vector<int>& members, const MapSettings& s) {
    LocalGraph lg;
    lg.start.push_back(0);
    for (int v : members) {
        const int nv = (int)prints[v].bands.size();
        for (const Overlap* o = g.begin(v); o != g.end(v); ++o) {
            auto found = std::lower_bound(members.begin(), members.end(), o->to);
            if (found == members.end() || *found != o->to) continue;
            const int local = (int)(found - members.begin());
            const int nw = (int)prints[o->to].bands.size();
            // A clone lying (almost) inside the other may sit anywhere
            // along it, so the centre offset is only an upper bound; such
            // a pair says little about places.
            bool contained = o->shared >= s.buriedShare * std::min(nv, nw);
            lg.edges.push_back({local, centreOffset(nv, nw, o->shared),
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
// median over v's triples; NaN where v has too few of them. The median
// over all of the contig's triples, and their number, go to `rough`.
std::vector<double> measuredExcess(const LocalGraph& lg, const std::vector<double>& x,
                                   const MapSettings& s, RoughLayout& rough) {
    const double none = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> excess(x.size(), none), samples, all;
    for (size_t v = 0; v < x.size(); ++v) {
        samples.clear();
        for (size_t i = lg.start[v]; i < lg.start[v + 1]; ++i) {
            const LocalEdge& left = lg.edges[i];
            if (x[left.to] >= x[v] || left.weight < 1) continue;
            for (size_t j = lg.start[v]; j < lg.start[v + 1]; ++j) {
                const LocalEdge& right = lg.edges[j];
                if (x[right.to] <= x[v] || right.weight < 1) continue;
                const LocalEdge* across = findEdge(lg, left.to, right.to);
                if (!across || across->weight < 1) continue;
                samples.push_back(left.offset + right.offset - across->offset);
            }
        }
        all.insert(all.end(), samples.begin(), samples.end());
        if (samples.size() >= (size_t)s.fewestTriples) excess[v] = median(samples);
    }
    rough.triples = all.size();
    rough.contigExcess = all.empty() ? none : median(all);
    return excess;
}

} // namespace

RoughLayout roughLayout(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                        const std::vector<int>& members, const MapSettings& settings) {
    LocalGraph lg = localGraph(g, prints, members, settings);
    RoughLayout rough;
    int end1 = 0, end2 = 0;
    distancesFrom(lg, 0, end1);
    rough.centres = distancesFrom(lg, end1, end2);
    settle(lg, rough.centres, settings);
    rough.excess = measuredExcess(lg, rough.centres, settings, rough);
    return rough;
}

double typicalExcess(const std::vector<RoughLayout>& contigs) {
    std::vector<double> measured;
    for (const RoughLayout& c : contigs)
        for (double e : c.excess)
            if (!std::isnan(e)) measured.push_back(e);
    return measured.empty() ? 0 : median(measured);
}

ContigLayout layoutContig(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                          const std::vector<int>& members, const MapSettings& settings,
                          const RoughLayout& rough, double typical) {
    LocalGraph lg = localGraph(g, prints, members, settings);
    ContigLayout layout;
    layout.centres = rough.centres;
    // The contig's own typical excess as far as its triples go, the
    // library's for the rest.
    const double own = std::min(1.0, (double)rough.triples / settings.enoughTriples);
    const double unmeasured = own > 0 ? own * rough.contigExcess + (1 - own) * typical : typical;
    for (double e : rough.excess)
        layout.excess.push_back(std::isnan(e) ? unmeasured : e);
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

ClonePlaces placeGroups(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                        const std::vector<std::vector<int>>& groups, const MapSettings& settings) {
    std::vector<RoughLayout> rough;
    for (const std::vector<int>& members : groups)
        rough.push_back(roughLayout(g, prints, members, settings));
    const double typical = typicalExcess(rough);
    ClonePlaces places((size_t)g.size());
    for (size_t k = 0; k < groups.size(); ++k) {
        const std::vector<int>& members = groups[k];
        ContigLayout layout = layoutContig(g, prints, members, settings, rough[k], typical);
        rough[k] = RoughLayout(); // its memory is not needed again
        for (size_t i = 0; i < members.size(); ++i) {
            ClonePlace& p = places[(size_t)members[i]];
            long n = std::max<long>(1, std::lround((double)prints[members[i]].bands.size() -
                                                   layout.excess[i]));
            p.contig = (int)k + 1;
            p.left = std::lround(layout.centres[i] - n / 2.0);
            p.right = p.left + n;
        }
    }
    return places;
}
