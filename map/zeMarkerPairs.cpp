#include "zeMarkerPairs.h"

#include <algorithm>
#include <cmath>
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

bool holds(const std::vector<PairScore>& passing, int a, int b) {
    auto at = std::lower_bound(passing.begin(), passing.end(), std::make_pair(a, b),
                               [](const PairScore& p, const std::pair<int, int>& q) {
                                   return std::make_pair(p.first, p.second) < q;
                               });
    return at != passing.end() && at->first == a && at->second == b;
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
    return found;
}
