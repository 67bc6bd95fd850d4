#include "zeThinJoins.h"

#include <algorithm>

#include "zeLinearCuts.h"
#include "zePartnerBands.h"
#include "zeSharedBands.h"

namespace {

// A depth-first search of a group's overlaps (local indices). The clones
// a child c's search reached are those entered from enter[c] up to
// leave[c]; c's side is cut off from the rest by its parent alone when
// nothing reached from c overlaps a clone entered before the parent
// (low[c] >= enter[parent]).
struct SearchTree {
    std::vector<int> enter, leave, low, parent;
};

SearchTree searchTree(const std::vector<std::vector<int>>& near) {
    const int n = (int)near.size();
    SearchTree t;
    t.enter.assign((size_t)n, -1);
    t.leave.assign((size_t)n, -1);
    t.low.assign((size_t)n, -1);
    t.parent.assign((size_t)n, -1);
    std::vector<size_t> next((size_t)n, 0);
    std::vector<int> stack;
    int entered = 0;
    for (int root = 0; root < n; ++root) {
        if (t.enter[(size_t)root] >= 0) continue;
        t.enter[(size_t)root] = t.low[(size_t)root] = entered++;
        stack.push_back(root);
        while (!stack.empty()) {
            int v = stack.back();
            if (next[(size_t)v] < near[(size_t)v].size()) {
                int w = near[(size_t)v][next[(size_t)v]++];
                if (t.enter[(size_t)w] < 0) {
                    t.parent[(size_t)w] = v;
                    t.enter[(size_t)w] = t.low[(size_t)w] = entered++;
                    stack.push_back(w);
                } else if (w != t.parent[(size_t)v]) {
                    t.low[(size_t)v] = std::min(t.low[(size_t)v], t.enter[(size_t)w]);
                }
                continue;
            }
            t.leave[(size_t)v] = entered;
            stack.pop_back();
            int p = t.parent[(size_t)v];
            if (p >= 0) t.low[(size_t)p] = std::min(t.low[(size_t)p], t.low[(size_t)v]);
        }
    }
    return t;
}

void thinJoinsOfGroup(const OverlapGraph& g, const PrintsView& prints,
                      const std::vector<int>& members, const ClonePlaces& places,
                      const MapSettings& s, std::vector<int>& local,
                      std::vector<std::pair<int, int>>& cuts) {
    const int n = (int)members.size();
    if (n < 2 * s.thinJoinSide + 1) return;
    for (int i = 0; i < n; ++i)
        local[(size_t)members[(size_t)i]] = i;
    std::vector<std::vector<int>> near((size_t)n);
    for (int i = 0; i < n; ++i)
        for (const Overlap* o = g.begin(members[(size_t)i]); o != g.end(members[(size_t)i]); ++o)
            if (local[(size_t)o->to] >= 0) near[(size_t)i].push_back(local[(size_t)o->to]);
    for (int v : members)
        local[(size_t)v] = -1;
    const SearchTree t = searchTree(near);
    const std::vector<std::pair<int, int>> overlapping = overlappingPlaces(members, places);
    auto placeOf = [&](int i) -> const ClonePlace& { return places[(size_t)members[(size_t)i]]; };
    PartnerBands pa, pb;
    for (int c = 0; c < n; ++c) {
        const int v = t.parent[(size_t)c];
        if (v < 0 || t.low[(size_t)c] < t.enter[(size_t)v]) continue;
        const int from = t.enter[(size_t)c], to = t.leave[(size_t)c];
        const int side = to - from;
        if (side < s.thinJoinSide || n - 1 - side < s.thinJoinSide) continue;
        // The pairs lying across v beyond its place, on few of the bands it lacks.
        auto inSide = [&](int i) { return t.enter[(size_t)i] >= from && t.enter[(size_t)i] < to; };
        const ClonePlace& pv = placeOf(v);
        const std::vector<int>& vb = prints[(size_t)members[(size_t)v]].bands;
        int across = 0;
        for (const auto& pair : overlapping) {
            const int a = pair.first, b = pair.second;
            if (a == v || b == v || inSide(a) == inSide(b)) continue;
            const ClonePlace &qa = placeOf(a), &qb = placeOf(b);
            const long left = std::max(qa.left, qb.left), right = std::min(qa.right, qb.right);
            const long within = std::max(0L, std::min(right, pv.right) - std::max(left, pv.left));
            const long shorter = std::min(qa.right - qa.left, qb.right - qb.left);
            if ((double)(right - left - within) < s.thinJoinBeyond * (double)shorter) continue;
            splitPartnerBands(prints[(size_t)members[(size_t)a]].bands, vb, s.tolerance, pa);
            splitPartnerBands(prints[(size_t)members[(size_t)b]].bands, vb, s.tolerance, pb);
            if (sharedBands(pa.own.data(), (int)pa.own.size(), pb.own.data(), (int)pb.own.size(),
                            s.tolerance) <= s.copyApart)
                ++across;
        }
        if (across < s.thinJoinPairs) continue;
        // v stays with the side it overlaps more.
        int into = 0;
        for (int w : near[(size_t)v])
            into += inSide(w);
        const bool cutSide = 2 * into <= (int)near[(size_t)v].size();
        for (int w : near[(size_t)v])
            if (inSide(w) == cutSide) {
                int a = members[(size_t)v], b = members[(size_t)w];
                cuts.push_back({std::min(a, b), std::max(a, b)});
            }
    }
}

} // namespace

std::vector<std::pair<int, int>> thinJoinCuts(const OverlapGraph& g, const PrintsView& prints,
                                              const std::vector<std::vector<int>>& groups,
                                              const ClonePlaces& places,
                                              const MapSettings& s) {
    std::vector<std::pair<int, int>> cuts;
    std::vector<int> local((size_t)g.size(), -1);
    for (const std::vector<int>& members : groups)
        thinJoinsOfGroup(g, prints, members, places, s, local, cuts);
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    return cuts;
}
