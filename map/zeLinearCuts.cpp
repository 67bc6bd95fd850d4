#include "zeLinearCuts.h"

#include <algorithm>
#include <queue>

#include "zeSharedBands.h"

namespace {

// A group's overlaps among its members, by local index, with a flow on
// each for the minimum cuts.
struct GroupEdges {
    std::vector<std::pair<int, int>> ends; // local a < b
    std::vector<char> cut;
    std::vector<int> flow;                 // from ends.first to ends.second: -1, 0, 1
    std::vector<std::vector<int>> at;      // edges of each member
};

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

// Members reachable from `from` through edges with room (toward `from`
// when `backward`): the edge that reached each, -1 for `from`, -2 where
// not reached.
std::vector<int> reach(const GroupEdges& e, int from, bool backward = false) {
    std::vector<int> via(e.at.size(), -2);
    std::queue<int> queue;
    via[(size_t)from] = -1;
    queue.push(from);
    while (!queue.empty()) {
        int v = queue.front();
        queue.pop();
        for (int k : e.at[(size_t)v]) {
            int w = across(e, k, v);
            if (via[(size_t)w] != -2 || room(e, k, backward ? w : v) <= 0) continue;
            via[(size_t)w] = k;
            queue.push(w);
        }
    }
    return via;
}

// Cuts the fewest edges that part u from w when at most `most` do;
// false (and nothing cut) otherwise. Of the two such cuts nearest to u
// and to w, the one with the larger smaller side: a clone at a thin end
// of a place is not cut off where the two places can be parted.
bool cutBetween(GroupEdges& e, int u, int w, int most) {
    std::fill(e.flow.begin(), e.flow.end(), 0);
    for (int flow = 0;; ++flow) {
        std::vector<int> via = reach(e, u);
        if (via[(size_t)w] == -2) {
            if (flow == 0) return true; // parted already
            std::vector<int> toW = reach(e, w, true);
            size_t nearU = 0, nearW = 0;
            for (size_t v = 0; v < via.size(); ++v) {
                nearU += via[v] != -2;
                nearW += toW[v] != -2;
            }
            const size_t n = via.size();
            bool fromW = std::min(nearW, n - nearW) > std::min(nearU, n - nearU);
            const std::vector<int>& side = fromW ? toW : via;
            for (size_t k = 0; k < e.ends.size(); ++k) {
                bool a = side[(size_t)e.ends[k].first] != -2, b = side[(size_t)e.ends[k].second] != -2;
                if (a != b) e.cut[k] = 1;
            }
            return true;
        }
        if (flow == most) return false;
        for (int v = w; v != u;) {
            int k = via[(size_t)v];
            int from = across(e, k, v);
            e.flow[(size_t)k] += e.ends[(size_t)k].first == from ? 1 : -1;
            v = from;
        }
    }
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

std::vector<std::pair<int, int>> nonLinearCuts(const OverlapGraph& g, const PrintsView& prints,
                                               const std::vector<std::vector<int>>& groups,
                                               const ClonePlaces& places, const MapSettings& s) {
    std::vector<std::pair<int, int>> cuts;
    std::vector<int> local((size_t)g.size(), -1);
    for (const std::vector<int>& members : groups) {
        // By left end, so that the clones over one are those just after it.
        std::vector<int> order(members.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = (int)i;
        std::sort(order.begin(), order.end(), [&](int x, int y) {
            const ClonePlace &a = places[(size_t)members[(size_t)x]], &b = places[(size_t)members[(size_t)y]];
            return a.left != b.left ? a.left < b.left : x < y;
        });
        std::vector<std::pair<int, int>> overlaid; // local indices
        for (size_t i = 0; i < order.size(); ++i) {
            int a = members[(size_t)order[i]];
            for (size_t j = i + 1; j < order.size(); ++j) {
                int b = members[(size_t)order[j]];
                if (places[(size_t)b].left >= places[(size_t)a].right) break;
                if (liesOver(prints[(size_t)a], places[(size_t)a], prints[(size_t)b],
                             places[(size_t)b], s.tolerance, s))
                    overlaid.push_back({std::min(order[i], order[j]), std::max(order[i], order[j])});
            }
        }
        if ((double)overlaid.size() <= s.overlaidPerClone * (double)members.size()) continue;
        std::sort(overlaid.begin(), overlaid.end());
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
