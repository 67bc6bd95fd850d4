#include "zeMarkerPairs.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>

#include "zeTrustedPairs.h"
#include "zeUnionFind.h"

namespace {

int medianCount(const std::vector<std::vector<int>>& hits) {
    std::vector<size_t> counts;
    for (const std::vector<int>& hit : hits)
        if (!hit.empty()) counts.push_back(hit.size());
    if (counts.empty()) return 0;
    std::nth_element(counts.begin(), counts.begin() + (long)(counts.size() / 2), counts.end());
    return (int)counts[counts.size() / 2];
}

bool holds(const std::vector<PairScore>& passing, int a, int b) {
    auto at = std::lower_bound(passing.begin(), passing.end(), std::make_pair(a, b),
                               [](const PairScore& p, const std::pair<int, int>& q) {
                                   return std::make_pair(p.first, p.second) < q;
                               });
    return at != passing.end() && at->first == a && at->second == b;
}

// The pairs that join two groups of clones (held together without
// markers) with at least `fewest` clones of each group in such pairs; and
// every pair within a group, or bringing in a lone clone. A clone at the
// wrong place by a repeat's bands would otherwise pull the group of its
// true place along by its marker pairs.
std::vector<PairScore> heldJoins(int vertices, const std::vector<PairScore>& passing,
                                 const std::vector<PairScore>& pairs, int fewest) {
    UnionFind groups(vertices);
    for (const PairScore& p : trustedPairs(vertices, passing))
        groups.unite(p.first, p.second);
    // Per two groups (the smaller representative first): the clones of each.
    std::map<std::pair<int, int>, std::pair<std::set<int>, std::set<int>>> sides;
    auto joinOf = [&](const PairScore& p) {
        int a = groups.find(p.first), b = groups.find(p.second);
        return a < b ? std::make_pair(std::make_pair(a, b), std::make_pair(p.first, p.second))
                     : std::make_pair(std::make_pair(b, a), std::make_pair(p.second, p.first));
    };
    auto plain = [&](const PairScore& p) {
        return groups.find(p.first) == groups.find(p.second) || groups.sizeOf(p.first) == 1 ||
               groups.sizeOf(p.second) == 1;
    };
    for (const PairScore& p : pairs) {
        if (plain(p)) continue;
        const auto join = joinOf(p);
        sides[join.first].first.insert(join.second.first);
        sides[join.first].second.insert(join.second.second);
    }
    std::vector<PairScore> kept;
    for (const PairScore& p : pairs) {
        if (!plain(p)) {
            const auto& side = sides[joinOf(p).first];
            if ((int)side.first.size() < fewest || (int)side.second.size() < fewest) continue;
        }
        kept.push_back(p);
    }
    return kept;
}

} // namespace

MarkerFindings markerPairs(const PrintsView& prints, const std::vector<std::vector<int>>& hits,
                           const std::vector<PairScore>& passing, const MapSettings& s) {
    MarkerFindings found;
    found.typicalHits = medianCount(hits);
    found.hitLimit = (int)std::floor(s.markerRepeatFactor * found.typicalHits);
    std::vector<std::pair<int, int>> candidates;
    for (const std::vector<int>& hit : hits) {
        if ((int)hit.size() > found.hitLimit) {
            ++found.repeatProbes;
            continue;
        }
        for (size_t i = 0; i < hit.size(); ++i)
            for (size_t j = i + 1; j < hit.size(); ++j)
                if (hit[i] != hit[j]) candidates.emplace_back(hit[i], hit[j]);
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    for (const std::pair<int, int>& c : candidates) {
        if (holds(passing, c.first, c.second)) continue;
        PairScore p = scoreBands(prints[(size_t)c.first].bands, prints[(size_t)c.second].bands,
                                 s.tolerance);
        if (p.score > s.markerCutoff || p.shared < s.markerShared) continue;
        p.first = c.first;
        p.second = c.second;
        found.pairs.push_back(p);
    }
    found.pairs = heldJoins((int)prints.size(), passing, found.pairs, s.markerJoinClones);
    return found;
}
