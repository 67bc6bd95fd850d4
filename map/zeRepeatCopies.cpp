#include "zeRepeatCopies.h"

#include <algorithm>

#include "zePartnerBands.h"
#include "zeSharedBands.h"

namespace {

bool liesAtOtherCopy(const PartnerBands& y, const PartnerBands& z, int tolerance,
                     const MapSettings& s) {
    if (z.matchedCount < y.matchedCount + s.copyMargin) return false;
    int beyond = 0;
    for (size_t i = 0; i < y.matched.size(); ++i)
        if (y.matched[i] && !z.matched[i] && ++beyond > s.copySlack) return false;
    return sharedBands(y.own.data(), (int)y.own.size(), z.own.data(), (int)z.own.size(),
                       tolerance) <= s.copyApart;
}

} // namespace

std::vector<int> partnersAtOtherCopies(const OverlapGraph& g, const PrintsView& prints, int x,
                                       const MapSettings& s, const OverlapGraph* witnesses) {
    std::vector<PartnerBands> partners =
        partnersReachingPast(g, prints, x, s.tolerance, s.copyOwnBands);
    const size_t own = partners.size(); // the rest are witnesses only
    if (witnesses) {
        std::vector<PartnerBands> more =
            partnersReachingPast(*witnesses, prints, x, s.tolerance, s.copyOwnBands);
        partners.insert(partners.end(), more.begin(), more.end());
    }
    std::vector<int> found;
    for (size_t k = 0; k < own; ++k) {
        const PartnerBands& y = partners[k];
        for (const PartnerBands& z : partners)
            if (&y != &z && liesAtOtherCopy(y, z, s.tolerance, s)) {
                found.push_back(y.clone);
                break;
            }
    }
    return found;
}

std::vector<std::pair<int, int>> repeatCopyCuts(const OverlapGraph& g, const PrintsView& prints,
                                                const MapSettings& s, const OverlapGraph* witnesses) {
    std::vector<std::pair<int, int>> seen; // from each end that finds it
    for (int x = 0; x < g.size(); ++x)
        for (int y : partnersAtOtherCopies(g, prints, x, s, witnesses))
            seen.push_back({std::min(x, y), std::max(x, y)});
    std::sort(seen.begin(), seen.end());
    std::vector<std::pair<int, int>> cuts;
    for (size_t k = 0; k + 1 < seen.size(); ++k)
        if (seen[k] == seen[k + 1] && (cuts.empty() || cuts.back() != seen[k]))
            cuts.push_back(seen[k]);
    return cuts;
}
