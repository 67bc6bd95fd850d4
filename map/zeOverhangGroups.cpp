#include "zeOverhangGroups.h"

#include <algorithm>
#include <cmath>

#include "zePartnerBands.h"
#include "zeSharedBands.h"
#include "zeUnionFind.h"

namespace {

struct OverhangGroup {
    std::vector<int> clones;
    std::vector<char> matched; // per band of x: matched by one of its clones
    int matchedCount = 0;
};

bool oneSide(const PartnerBands& a, const PartnerBands& b, const MapSettings& s) {
    int fewer = (int)std::min(a.own.size(), b.own.size());
    int needed = std::max(s.copyApart + 1, (int)std::ceil(s.overhangShare * fewer));
    return sharedBands(a.own.data(), (int)a.own.size(), b.own.data(), (int)b.own.size(),
                       s.tolerance) >= needed;
}

std::vector<OverhangGroup> overhangGroups(const std::vector<PartnerBands>& partners, size_t bands,
                                          const MapSettings& s) {
    const int n = (int)partners.size();
    UnionFind sides(n);
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (oneSide(partners[(size_t)i], partners[(size_t)j], s)) sides.unite(i, j);
    std::vector<int> slot((size_t)n, -1);
    std::vector<OverhangGroup> groups;
    for (int i = 0; i < n; ++i) {
        int& k = slot[(size_t)sides.find(i)];
        if (k < 0) {
            k = (int)groups.size();
            groups.emplace_back();
            groups.back().matched.assign(bands, 0);
        }
        OverhangGroup& group = groups[(size_t)k];
        group.clones.push_back(partners[(size_t)i].clone);
        for (size_t b = 0; b < bands; ++b)
            group.matched[b] |= partners[(size_t)i].matched[b];
    }
    for (OverhangGroup& group : groups)
        group.matchedCount = (int)std::count(group.matched.begin(), group.matched.end(), 1);
    return groups;
}

} // namespace

std::vector<int> partnersInExtraOverhangs(const OverlapGraph& g, const PrintsView& prints, int x,
                                          const MapSettings& s) {
    const std::vector<PartnerBands> partners =
        partnersReachingPast(g, prints, x, s.tolerance, s.overhangBands);
    if (partners.size() < 3) return {};
    const size_t bands = prints[(size_t)x].bands.size();
    std::vector<OverhangGroup> groups = overhangGroups(partners, bands, s);
    // Per band of x, the groups left that match it.
    std::vector<int> cover(bands, 0);
    for (const OverhangGroup& group : groups)
        for (size_t b = 0; b < bands; ++b)
            cover[b] += group.matched[b];
    std::vector<int> found;
    for (size_t left = groups.size(); left > 2; --left) {
        OverhangGroup* within = nullptr;
        for (OverhangGroup& group : groups) {
            if (group.clones.empty()) continue; // taken already
            int alone = 0;
            for (size_t b = 0; b < bands; ++b)
                alone += group.matched[b] && cover[b] == 1;
            if (alone <= s.copySlack && (!within || group.matchedCount < within->matchedCount))
                within = &group;
        }
        if (!within) break;
        for (size_t b = 0; b < bands; ++b)
            cover[b] -= within->matched[b];
        found.insert(found.end(), within->clones.begin(), within->clones.end());
        within->clones.clear();
    }
    std::sort(found.begin(), found.end());
    return found;
}
