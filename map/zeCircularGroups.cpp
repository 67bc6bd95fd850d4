#include "zeCircularGroups.h"

#include <algorithm>
#include <deque>

#include "zePairScan.h"

namespace {

// The functions below work on one group's own graph (openCircles makes it),
// every clone of it in the group.

// Hop distances from `from`.
std::vector<int> hops(const OverlapGraph& g, int from) {
    std::vector<int> d((size_t)g.size(), -1);
    std::deque<int> queue{from};
    d[(size_t)from] = 0;
    while (!queue.empty()) {
        const int v = queue.front();
        queue.pop_front();
        for (const Overlap* e = g.begin(v); e != g.end(v); ++e)
            if (d[(size_t)e->to] < 0) {
                d[(size_t)e->to] = d[(size_t)v] + 1;
                queue.push_back(e->to);
            }
    }
    return d;
}

// The lowest-numbered of the clones farthest by `d`.
int farthest(const std::vector<int>& d) {
    return (int)(std::max_element(d.begin(), d.end()) - d.begin());
}

// The parts of the clones at `middle` hops: connected through overlaps
// among the clones at `middle` and `middle` + 1 hops. Where the two
// largest hold at least `least` clones each, the second at least a quarter
// of the first's (a clone or two off to the side of a line's middle are a
// part of their own), part[v] is 1 or 2 for their clones at `middle` (0
// for the rest) and the answer is true.
bool twoMiddleParts(const OverlapGraph& g, const std::vector<int>& d, int middle, int least,
                    std::vector<int>& part) {
    std::vector<int> seen((size_t)g.size(), 0), sizes{0};
    auto within = [&](int v) { return d[(size_t)v] == middle || d[(size_t)v] == middle + 1; };
    for (int start = 0; start < g.size(); ++start) {
        if (d[(size_t)start] != middle || seen[(size_t)start]) continue;
        const int id = (int)sizes.size();
        sizes.push_back(0);
        std::deque<int> queue{start};
        seen[(size_t)start] = id;
        while (!queue.empty()) {
            const int v = queue.front();
            queue.pop_front();
            sizes[(size_t)id] += d[(size_t)v] == middle;
            for (const Overlap* e = g.begin(v); e != g.end(v); ++e)
                if (within(e->to) && !seen[(size_t)e->to]) {
                    seen[(size_t)e->to] = id;
                    queue.push_back(e->to);
                }
        }
    }
    std::vector<int> large;
    for (int id = 1; id < (int)sizes.size(); ++id)
        large.push_back(id);
    if (large.size() < 2) return false;
    // The two largest, the first found first among equals.
    std::stable_sort(large.begin(), large.end(),
                     [&](int x, int y) { return sizes[(size_t)x] > sizes[(size_t)y]; });
    large.resize(2);
    if (sizes[(size_t)large[1]] < least || 4 * sizes[(size_t)large[1]] < sizes[(size_t)large[0]])
        return false;
    std::sort(large.begin(), large.end());
    for (int v = 0; v < g.size(); ++v)
        if (d[(size_t)v] == middle && seen[(size_t)v] == large[0]) part[(size_t)v] = 1;
        else if (d[(size_t)v] == middle && seen[(size_t)v] == large[1]) part[(size_t)v] = 2;
    return true;
}

// Every clone given the part (1 or 2) whose middle clones reach it first,
// both parts spreading at once, the first part first.
std::vector<int> spreadParts(const OverlapGraph& g, const std::vector<int>& middle) {
    std::vector<int> label((size_t)g.size(), 0);
    std::deque<int> queue;
    for (int p = 1; p <= 2; ++p)
        for (int v = 0; v < g.size(); ++v)
            if (middle[(size_t)v] == p) {
                label[(size_t)v] = p;
                queue.push_back(v);
            }
    while (!queue.empty()) {
        const int v = queue.front();
        queue.pop_front();
        for (const Overlap* e = g.begin(v); e != g.end(v); ++e)
            if (!label[(size_t)e->to]) {
                label[(size_t)e->to] = label[(size_t)v];
                queue.push_back(e->to);
            }
    }
    return label;
}

// How the two parts meet through the clones `allowed` lets in: the number
// of paths sharing no clone that lead from the clones with part[v] == 1 to
// those with part[v] == 2 (counted up to `most`), and, where it is one,
// the clone all of them pass (-1 otherwise) with the clones on the second
// part's side of it. Unit capacities on clones split in two, one path
// found at a time.
struct Meeting {
    int paths = 0;
    int cutClone = -1;
    std::vector<int> beyondCut; // the cut clone's partners on the second part's side, ascending
};

template <class Allowed>
Meeting meeting(const OverlapGraph& g, const std::vector<int>& part, Allowed allowed, int most) {
    // Nodes: 2k the way into the k-th allowed clone, 2k + 1 the way out;
    // then the source and the sink. Arcs in pairs, an arc and its reverse.
    std::vector<int> index((size_t)g.size(), -1), clone;
    for (int v = 0; v < g.size(); ++v)
        if (allowed(v)) {
            index[(size_t)v] = (int)clone.size();
            clone.push_back(v);
        }
    const int n = (int)clone.size(), source = 2 * n, sink = 2 * n + 1;
    std::vector<int> to, capacity;
    std::vector<std::vector<int>> out((size_t)(2 * n + 2));
    auto arc = [&](int a, int b) {
        out[(size_t)a].push_back((int)to.size());
        to.push_back(b);
        capacity.push_back(1);
        out[(size_t)b].push_back((int)to.size());
        to.push_back(a);
        capacity.push_back(0);
    };
    for (int k = 0; k < n; ++k) {
        const int v = clone[(size_t)k];
        arc(2 * k, 2 * k + 1);
        if (part[(size_t)v] == 1) arc(source, 2 * k);
        if (part[(size_t)v] == 2) arc(2 * k + 1, sink);
        for (const Overlap* e = g.begin(v); e != g.end(v); ++e)
            if (index[(size_t)e->to] >= 0) arc(2 * k + 1, 2 * index[(size_t)e->to]);
    }
    Meeting m;
    std::vector<int> via;
    for (;;) {
        via.assign((size_t)(2 * n + 2), -1);
        std::deque<int> queue{source};
        via[(size_t)source] = -2;
        while (!queue.empty() && via[(size_t)sink] == -1) {
            const int x = queue.front();
            queue.pop_front();
            for (int a : out[(size_t)x])
                if (capacity[(size_t)a] > 0 && via[(size_t)to[(size_t)a]] == -1) {
                    via[(size_t)to[(size_t)a]] = a;
                    queue.push_back(to[(size_t)a]);
                }
        }
        if (via[(size_t)sink] == -1 || m.paths == most) break;
        ++m.paths;
        for (int x = sink; x != source;) {
            const int a = via[(size_t)x];
            --capacity[(size_t)a];
            ++capacity[(size_t)(a ^ 1)];
            x = to[(size_t)(a ^ 1)];
        }
    }
    if (m.paths != 1 || via[(size_t)sink] != -1) return m;
    // The one path's clone nearest the first part that the search left
    // reaching in but not out of: every way from the one part to the other
    // passes it.
    for (int k = 0; k < n && m.cutClone < 0; ++k)
        if (via[(size_t)(2 * k)] != -1 && via[(size_t)(2 * k + 1)] == -1) m.cutClone = clone[(size_t)k];
    if (m.cutClone < 0) return m;
    for (const Overlap* e = g.begin(m.cutClone); e != g.end(m.cutClone); ++e) {
        const int k = index[(size_t)e->to];
        if (k >= 0 && via[(size_t)(2 * k)] == -1) m.beyondCut.push_back(e->to);
    }
    return m;
}

// Whether a clone on one side of the meeting's cut clone (its partners
// past it) scores within the loose cutoff with one on the other (its other
// partners), as the junction test rescores: the clones either side of a
// thin spot of the genome overlap a little, a chimeric clone's two places
// not at all. `members` gives each clone of g its fingerprint's index.
bool sidesOverlap(const OverlapGraph& g, const Meeting& m, const std::vector<int>& members,
                  const PrintsView& prints, const MapSettings& s) {
    std::vector<int> before;
    for (const Overlap* e = g.begin(m.cutClone); e != g.end(m.cutClone); ++e)
        if (!std::binary_search(m.beyondCut.begin(), m.beyondCut.end(), e->to))
            before.push_back(members[(size_t)e->to]);
    int tried = 0;
    for (int x : before)
        for (int y : m.beyondCut) {
            const int b = members[(size_t)y];
            if (++tried > s.mostPairsTried) return false;
            if (scoreBands(prints[(size_t)std::min(x, b)].bands, prints[(size_t)std::max(x, b)].bands,
                           s.tolerance)
                    .score <= s.looseCutoff)
                return true;
        }
    return false;
}

// Opens `g`, one group's own graph, where it closes on itself: its cuts
// (first < second) added to `cuts`; whether there were any, and where.
bool openGroup(const OverlapGraph& g, const std::vector<int>& members, const PrintsView* prints,
               const MapSettings& s, std::vector<std::pair<int, int>>& cuts, CircleOpening& at) {
    const int least = s.circleMeetingClones;
    const int a = farthest(hops(g, 0));
    const std::vector<int> fromA = hops(g, a);
    const int across = fromA[(size_t)farthest(fromA)];
    const int half = across / 2;
    std::vector<int> middle((size_t)g.size(), 0);
    if (across < 4 || !twoMiddleParts(g, fromA, half, least, middle)) return false;
    // The two meetings: near a, and past the middle.
    auto nearA = [&](int v) { return fromA[(size_t)v] <= half; };
    auto pastMiddle = [&](int v) { return fromA[(size_t)v] >= half; };
    const Meeting first = meeting(g, middle, nearA, least);
    const Meeting second = meeting(g, middle, pastMiddle, least);
    const size_t before = cuts.size();
    if (first.paths >= least && second.paths >= least) {
        // A circle: opened near a, between the two parts.
        const std::vector<int> label = spreadParts(g, middle);
        for (int v = 0; v < g.size(); ++v)
            for (const Overlap* e = g.begin(v); e != g.end(v); ++e)
                if (v < e->to && label[(size_t)v] != label[(size_t)e->to] &&
                    fromA[(size_t)v] + fromA[(size_t)e->to] < 2 * half)
                    cuts.push_back({v, e->to});
    } else {
        // Held on one side by one clone alone, on the other by many: opened
        // at that clone, a circle's thin spot or a chimeric clone joining
        // a line's two ends.
        const Meeting* thin = first.paths == 1 && second.paths >= least   ? &first
                              : second.paths == 1 && first.paths >= least ? &second
                                                                          : nullptr;
        // Held by one clone on both sides: the one whose two sides do not
        // overlap even at the loose cutoff is a chimeric clone joining a
        // line's ends; where both sides of both do, a circle of two thin
        // spots, opened at the first.
        if (!thin && prints && first.paths == 1 && second.paths == 1 && first.cutClone >= 0 &&
            second.cutClone >= 0) {
            const bool firstOverlaps = sidesOverlap(g, first, members, *prints, s);
            const bool secondOverlaps = sidesOverlap(g, second, members, *prints, s);
            thin = firstOverlaps == secondOverlaps ? (firstOverlaps ? &first : nullptr)
                   : firstOverlaps                 ? &second
                                                   : &first;
        }
        if (thin && thin->cutClone >= 0) {
            for (int w : thin->beyondCut)
                cuts.push_back({std::min(thin->cutClone, w), std::max(thin->cutClone, w)});
            if (!thin->beyondCut.empty()) at = {thin->cutClone, thin->beyondCut[0], true};
            return !thin->beyondCut.empty();
        }
    }
    if (cuts.size() > before) at = {cuts[before].first, cuts[before].second, false};
    return cuts.size() > before;
}

} // namespace

OpenedCircles openCircles(const OverlapGraph& g, const std::vector<std::vector<int>>& groups,
                          const MapSettings& settings, const PrintsView* prints) {
    OpenedCircles opened;
    const int least = settings.circleMeetingClones;
    if (least <= 0) return opened;
    // Each group is looked at in a graph of its own, so that the work
    // grows with the group, not with the library.
    std::vector<int> local((size_t)g.size(), -1);
    for (const std::vector<int>& members : groups) {
        // Each part needs its meeting clones on both sides, and the middle
        // its own: smaller groups cannot be told from a line.
        if ((int)members.size() < 6 * least) continue;
        for (size_t k = 0; k < members.size(); ++k)
            local[(size_t)members[k]] = (int)k;
        std::vector<PairScore> pairs;
        for (int v : members)
            for (const Overlap* e = g.begin(v); e != g.end(v); ++e)
                if (local[(size_t)e->to] > local[(size_t)v])
                    pairs.push_back({local[(size_t)v], local[(size_t)e->to], e->shared, 0, 0});
        std::vector<std::pair<int, int>> cuts;
        CircleOpening at;
        if (openGroup(OverlapGraph((int)members.size(), pairs), members, prints, settings, cuts, at))
            opened.openings.push_back({members[(size_t)at.first], members[(size_t)at.second],
                                       at.throughOne});
        for (const std::pair<int, int>& c : cuts)
            opened.cuts.push_back({members[(size_t)c.first], members[(size_t)c.second]});
        for (int v : members)
            local[(size_t)v] = -1;
    }
    std::sort(opened.cuts.begin(), opened.cuts.end());
    opened.cuts.erase(std::unique(opened.cuts.begin(), opened.cuts.end()), opened.cuts.end());
    return opened;
}
