#include "zeMarkerPairs.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>

namespace {

int medianCount(const std::vector<std::vector<int>>& hits) {
    std::vector<size_t> counts;
    for (const std::vector<int>& hit : hits)
        if (!hit.empty()) counts.push_back(hit.size());
    if (counts.empty()) return 0;
    std::nth_element(counts.begin(), counts.begin() + (long)(counts.size() / 2), counts.end());
    return (int)counts[counts.size() / 2];
}

// The passing pairs kept by where their clones lie, as the header says.
// groupOf: per fingerprint its group, or -1 for a lone clone.
std::vector<PairScore> heldJoins(const std::vector<PairScore>& pairs,
                                 const std::vector<int>& groupOf, int fewest) {
    // Per two groups (the smaller first): the clones of each in pairs between them.
    std::map<std::pair<int, int>, std::pair<std::set<int>, std::set<int>>> sides;
    std::map<int, int> homeOf;               // a lone clone's group; -2: more than one
    std::map<int, std::set<int>> partnersOf; // a lone clone's, in groups
    for (const PairScore& p : pairs) {
        int a = groupOf[(size_t)p.first], b = groupOf[(size_t)p.second];
        if (a >= 0 && b >= 0 && a != b) {
            auto& side = sides[{std::min(a, b), std::max(a, b)}];
            side.first.insert(a < b ? p.first : p.second);
            side.second.insert(a < b ? p.second : p.first);
        } else if ((a < 0) != (b < 0)) {
            const int lone = a < 0 ? p.first : p.second;
            auto home = homeOf.emplace(lone, std::max(a, b));
            if (home.first->second != std::max(a, b)) home.first->second = -2;
            partnersOf[lone].insert(a < 0 ? p.second : p.first);
        }
    }
    std::vector<PairScore> kept;
    for (const PairScore& p : pairs) {
        int a = groupOf[(size_t)p.first], b = groupOf[(size_t)p.second];
        bool keep = a == b && a >= 0;
        if (a >= 0 && b >= 0 && a != b) {
            const auto& side = sides[{std::min(a, b), std::max(a, b)}];
            keep = (int)side.first.size() >= fewest && (int)side.second.size() >= fewest;
        } else if ((a < 0) != (b < 0)) {
            const int lone = a < 0 ? p.first : p.second;
            keep = homeOf[lone] >= 0 && (int)partnersOf[lone].size() >= fewest;
        } else if (a < 0 && b < 0) {
            // Two lone clones, neither of which leads into a group.
            keep = !homeOf.count(p.first) && !homeOf.count(p.second);
        }
        if (keep) kept.push_back(p);
    }
    return kept;
}

} // namespace

bool holdsPair(const std::vector<PairScore>& pairs, int first, int second) {
    auto at = std::lower_bound(pairs.begin(), pairs.end(), std::make_pair(first, second),
                               [](const PairScore& p, const std::pair<int, int>& q) {
                                   return std::make_pair(p.first, p.second) < q;
                               });
    return at != pairs.end() && at->first == first && at->second == second;
}

MarkerCandidates markerCandidates(const std::vector<std::vector<int>>& hits,
                                  const std::vector<PairScore>& scanned, const MapSettings& s) {
    MarkerCandidates found;
    found.typicalHits = medianCount(hits);
    found.hitLimit = (int)std::floor(s.markerRepeatFactor * found.typicalHits);
    for (const std::vector<int>& hit : hits) {
        if ((int)hit.size() > found.hitLimit) {
            ++found.repeatProbes;
            continue;
        }
        for (size_t i = 0; i < hit.size(); ++i)
            for (size_t j = i + 1; j < hit.size(); ++j)
                if (hit[i] != hit[j] && !holdsPair(scanned, hit[i], hit[j]))
                    found.pairs.emplace_back(hit[i], hit[j]);
    }
    std::sort(found.pairs.begin(), found.pairs.end());
    found.pairs.erase(std::unique(found.pairs.begin(), found.pairs.end()), found.pairs.end());
    return found;
}

MarkerFindings markerPairs(const PrintsView& prints, const MarkerCandidates& candidates,
                           const std::vector<std::vector<int>>& groups,
                           const std::vector<char>& junctions, const MapSettings& s) {
    MarkerFindings found;
    found.typicalHits = candidates.typicalHits;
    found.hitLimit = candidates.hitLimit;
    found.repeatProbes = candidates.repeatProbes;
    std::vector<int> groupOf(prints.size(), -1);
    for (size_t k = 0; k < groups.size(); ++k)
        for (int v : groups[k])
            groupOf[(size_t)v] = (int)k;
    std::vector<PairScore> passing;
    for (const std::pair<int, int>& c : candidates.pairs) {
        if (junctions[(size_t)c.first] || junctions[(size_t)c.second]) continue;
        PairScore p =
            scoreBands(prints[(size_t)c.first].bands, prints[(size_t)c.second].bands, s.tolerance);
        if (p.score > s.markerCutoff || p.shared < s.markerShared) continue;
        p.first = c.first;
        p.second = c.second;
        passing.push_back(p);
    }
    found.pairs = heldJoins(passing, groupOf, s.markerJoinClones);
    return found;
}

OverlapGraph withEdges(const OverlapGraph& g, const std::vector<PairScore>& pairs) {
    std::vector<PairScore> all = pairs, edges = g.pairs();
    all.insert(all.end(), edges.begin(), edges.end());
    std::sort(all.begin(), all.end(), [](const PairScore& x, const PairScore& y) {
        return x.first != y.first ? x.first < y.first : x.second < y.second;
    });
    return OverlapGraph(g.size(), all);
}
