#include "zeLinearCuts.h"

#include <algorithm>

#include "zeSharedBands.h"
#include "zeUnionFind.h"

namespace {

// A group's overlaps among its members, by local index, with a flow on
// each for the minimum cuts. The searches of one group share scratch
// space and undo only what they touched, so that a pair costs the part of
// the group its searches reach, not the whole group.
struct GroupEdges {
    std::vector<std::pair<int, int>> ends; // local a < b
    std::vector<char> cut;
    std::vector<int> flow;                 // from ends.first to ends.second: -1, 0, 1
    std::vector<std::vector<int>> at;      // edges of each member
    std::vector<int> part;                 // each member's part under the cuts so far
    std::vector<char> isReached;           // per member: reached by the last search
    std::vector<int> reached;              // those members
    std::vector<int> flowed;               // edges whose flow may be set
    std::vector<int> level;                // per member: its distance from the source, -1 unknown
    std::vector<size_t> arc;               // per member: the next of its edges to try
    std::vector<int> leveled;              // members whose level is set
    // Members joined by more than the most overlaps a cut may take, under
    // the cuts so far: such joins chain (a pair's edge connectivity is at
    // least the smaller of its links through a third member).
    UnionFind tied{0};
};

// The parts the uncut edges hold together: a pair in two parts is parted
// already, with no search.
void findParts(GroupEdges& e) {
    e.part.assign(e.at.size(), -1);
    std::vector<int> stack;
    int parts = 0;
    for (size_t s = 0; s < e.at.size(); ++s) {
        if (e.part[s] >= 0) continue;
        e.part[s] = parts;
        stack.push_back((int)s);
        while (!stack.empty()) {
            int v = stack.back();
            stack.pop_back();
            for (int k : e.at[(size_t)v]) {
                if (e.cut[(size_t)k]) continue;
                int w = e.ends[(size_t)k].first == v ? e.ends[(size_t)k].second : e.ends[(size_t)k].first;
                if (e.part[(size_t)w] < 0) {
                    e.part[(size_t)w] = parts;
                    stack.push_back(w);
                }
            }
        }
        ++parts;
    }
}

GroupEdges groupEdges(const OverlapGraph& g, const std::vector<int>& members,
                      std::vector<int>& local) {
    GroupEdges e;
    e.at.resize(members.size());
    for (size_t i = 0; i < members.size(); ++i)
        local[(size_t)members[i]] = (int)i;
    for (size_t i = 0; i < members.size(); ++i)
        for (const Overlap* o = g.begin(members[i]); o != g.end(members[i]); ++o) {
            int j = local[(size_t)o->to];
            if (j <= (int)i) continue; // another group's, or seen from j
            e.at[i].push_back((int)e.ends.size());
            e.at[(size_t)j].push_back((int)e.ends.size());
            e.ends.push_back({(int)i, j});
        }
    for (int v : members)
        local[(size_t)v] = -1;
    e.cut.assign(e.ends.size(), 0);
    e.flow.assign(e.ends.size(), 0);
    e.isReached.assign(members.size(), 0);
    e.level.assign(members.size(), -1);
    e.arc.assign(members.size(), 0);
    e.tied = UnionFind((int)members.size());
    findParts(e);
    return e;
}

// Room for one more unit from v along edge k.
int room(const GroupEdges& e, int k, int v) {
    if (e.cut[(size_t)k]) return 0;
    return e.ends[(size_t)k].first == v ? 1 - e.flow[(size_t)k] : 1 + e.flow[(size_t)k];
}

int across(const GroupEdges& e, int k, int v) {
    return e.ends[(size_t)k].first == v ? e.ends[(size_t)k].second : e.ends[(size_t)k].first;
}

void forgetReach(GroupEdges& e) {
    for (int v : e.reached)
        e.isReached[(size_t)v] = 0;
    e.reached.clear();
}

// Members reachable from `from` through edges with room (toward `from`
// when `backward`), into e.isReached and e.reached.
void reach(GroupEdges& e, int from, bool backward = false) {
    forgetReach(e);
    e.isReached[(size_t)from] = 1;
    e.reached.push_back(from);
    for (size_t next = 0; next < e.reached.size(); ++next) {
        int v = e.reached[next];
        for (int k : e.at[(size_t)v]) {
            int w = across(e, k, v);
            if (e.isReached[(size_t)w] || room(e, k, backward ? w : v) <= 0) continue;
            e.isReached[(size_t)w] = 1;
            e.reached.push_back(w);
        }
    }
}

void addFlow(GroupEdges& e, int k, int from) {
    e.flow[(size_t)k] += e.ends[(size_t)k].first == from ? 1 : -1;
    e.flowed.push_back(k);
}

// The distances from u through edges with room, breadth first, into
// e.level (and e.leveled), up to w's: the levels every shortest path to w
// climbs. False when w is not reached.
bool levelsTo(GroupEdges& e, int u, int w) {
    for (int v : e.leveled)
        e.level[(size_t)v] = -1;
    e.leveled.clear();
    e.level[(size_t)u] = 0;
    e.leveled.push_back(u);
    for (size_t next = 0; next < e.leveled.size(); ++next) {
        int v = e.leveled[next];
        for (int k : e.at[(size_t)v]) {
            int x = across(e, k, v);
            if (e.level[(size_t)x] != -1 || room(e, k, v) <= 0) continue;
            e.level[(size_t)x] = e.level[(size_t)v] + 1;
            e.leveled.push_back(x);
            if (x == w) return true; // every member nearer than w is in
        }
    }
    return false;
}

// Sends units from u to w along shortest paths with room until none is
// left or more than `most` are sent (a blocking flow); the units sent.
int blockingFlow(GroupEdges& e, int u, int w, int most) {
    const int top = e.level[(size_t)w];
    for (int v : e.leveled)
        e.arc[(size_t)v] = 0;
    std::vector<int> path; // edges from u
    int sent = 0, v = u;
    while (sent <= most) {
        if (v == w) {
            int from = u;
            for (int k : path) {
                addFlow(e, k, from);
                from = across(e, k, from);
            }
            ++sent;
            path.clear();
            v = u;
            continue;
        }
        const std::vector<int>& edges = e.at[(size_t)v];
        size_t& next = e.arc[(size_t)v];
        for (; next < edges.size(); ++next) {
            int k = edges[next], x = across(e, k, v);
            int lx = e.level[(size_t)x];
            if (lx == e.level[(size_t)v] + 1 && (x == w || lx < top) && room(e, k, v) > 0) break;
        }
        if (next < edges.size()) {
            path.push_back(edges[next]);
            v = across(e, edges[next], v);
            continue;
        }
        if (v == u) break;              // no path left at these levels
        e.level[(size_t)v] = -2;        // a dead end
        int k = path.back();
        path.pop_back();
        v = across(e, k, v);
        ++e.arc[(size_t)v];
    }
    return sent;
}

// Cuts the fewest edges that part u from w when at most `most` do;
// false (and nothing cut) otherwise. Of the two such cuts nearest to u
// and to w, the one with the larger smaller side: a clone at a thin end
// of a place is not cut off where the two places can be parted. Both
// cuts are the same for every maximum flow, so the flow grows by whole
// blocking flows along shortest paths.
bool cutBetween(GroupEdges& e, int u, int w, int most) {
    if (e.part[(size_t)u] != e.part[(size_t)w]) return true; // parted already
    if (e.tied.find(u) == e.tied.find(w)) return false;
    for (int k : e.flowed)
        e.flow[(size_t)k] = 0;
    e.flowed.clear();
    int flow = 0;
    while (levelsTo(e, u, w)) {
        flow += blockingFlow(e, u, w, most - flow);
        if (flow > most) {
            e.tied.unite(u, w);
            return false;
        }
    }
    reach(e, u);
    const std::vector<char> nearU = e.isReached;
    reach(e, w, true);
    const std::vector<char> nearW = e.isReached;
    const size_t n = e.at.size();
    const size_t sizeU = (size_t)std::count(nearU.begin(), nearU.end(), 1);
    const size_t sizeW = (size_t)std::count(nearW.begin(), nearW.end(), 1);
    bool fromW = std::min(sizeW, n - sizeW) > std::min(sizeU, n - sizeU);
    const std::vector<char>& side = fromW ? nearW : nearU;
    for (size_t k = 0; k < e.ends.size(); ++k)
        if (side[(size_t)e.ends[k].first] != side[(size_t)e.ends[k].second]) e.cut[k] = 1;
    forgetReach(e);
    findParts(e);
    e.tied = UnionFind((int)e.at.size()); // the cut may loosen any tie
    return true;
}

} // namespace

bool liesOver(const Fingerprint& a, const ClonePlace& pa, const Fingerprint& b,
              const ClonePlace& pb, int tolerance, const MapSettings& s) {
    long overlap = std::min(pa.right, pb.right) - std::max(pa.left, pb.left);
    long shorter = std::min(pa.right - pa.left, pb.right - pb.left);
    if ((double)overlap < s.overlaidShare * (double)shorter) return false;
    int fewer = (int)std::min(a.bands.size(), b.bands.size());
    int shared = sharedBands(a.bands.data(), (int)a.bands.size(), b.bands.data(),
                             (int)b.bands.size(), tolerance);
    return shared <= s.overlaidSharedBands * fewer;
}

std::vector<std::pair<int, int>> overlappingPlaces(const std::vector<int>& members,
                                                  const ClonePlaces& places) {
    // By left end, so that the clones over one are those just after it.
    std::vector<int> order(members.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = (int)i;
    auto placeOf = [&](int i) -> const ClonePlace& { return places[(size_t)members[(size_t)i]]; };
    std::sort(order.begin(), order.end(), [&](int x, int y) {
        return placeOf(x).left != placeOf(y).left ? placeOf(x).left < placeOf(y).left : x < y;
    });
    std::vector<std::pair<int, int>> overlapping;
    for (size_t i = 0; i < order.size(); ++i)
        for (size_t j = i + 1; j < order.size(); ++j) {
            if (placeOf(order[j]).left >= placeOf(order[i]).right) break;
            overlapping.push_back({std::min(order[i], order[j]), std::max(order[i], order[j])});
        }
    std::sort(overlapping.begin(), overlapping.end());
    return overlapping;
}

std::vector<std::pair<int, int>> nonLinearCuts(const OverlapGraph& g, const PrintsView& prints,
                                               const std::vector<std::vector<int>>& groups,
                                               const ClonePlaces& places, const MapSettings& s) {
    std::vector<std::pair<int, int>> cuts;
    std::vector<int> local((size_t)g.size(), -1);
    for (const std::vector<int>& members : groups) {
        std::vector<std::pair<int, int>> overlaid; // local indices
        for (const auto& pair : overlappingPlaces(members, places)) {
            int a = members[(size_t)pair.first], b = members[(size_t)pair.second];
            if (liesOver(prints[(size_t)a], places[(size_t)a], prints[(size_t)b], places[(size_t)b],
                         s.tolerance, s))
                overlaid.push_back(pair);
        }
        if ((double)overlaid.size() <= s.overlaidPerClone * (double)members.size()) continue;
        GroupEdges e = groupEdges(g, members, local);
        for (const auto& pair : overlaid)
            cutBetween(e, pair.first, pair.second, s.mostCutOverlaps);
        for (size_t k = 0; k < e.ends.size(); ++k)
            if (e.cut[k]) {
                int a = members[(size_t)e.ends[k].first], b = members[(size_t)e.ends[k].second];
                cuts.push_back({std::min(a, b), std::max(a, b)});
            }
    }
    std::sort(cuts.begin(), cuts.end());
    return cuts;
}

OverlapGraph withoutEdges(const OverlapGraph& g, const std::vector<std::pair<int, int>>& cuts) {
    std::vector<PairScore> pairs = g.pairs();
    pairs.erase(std::remove_if(pairs.begin(), pairs.end(),
                               [&](const PairScore& p) {
                                   return std::binary_search(cuts.begin(), cuts.end(),
                                                             std::make_pair(p.first, p.second));
                               }),
                pairs.end());
    return OverlapGraph(g.size(), pairs);
}
