#include "zeRepeatCopies.h"

#include <algorithm>

#include "zeSharedBands.h"

namespace {

struct Partner {
    int clone = 0;
    std::vector<int> own;      // its bands that x lacks
    std::vector<char> matched; // per band of x: matched by it
    int matchedCount = 0;
};

// The walk of sharedBands over y's and x's bands: y's unmatched bands, and
// which of x's it matches.
void splitBands(const std::vector<int>& y, const std::vector<int>& x, int tolerance,
                Partner& p) {
    p.own.clear();
    p.matched.assign(x.size(), 0);
    p.matchedCount = 0;
    size_t i = 0, j = 0;
    while (i < y.size()) {
        int d = j < x.size() ? y[i] - x[j] : -tolerance - 1;
        if (d > tolerance) {
            ++j;
        } else if (d < -tolerance) {
            p.own.push_back(y[i++]);
        } else {
            p.matched[j] = 1;
            ++p.matchedCount;
            ++i;
            ++j;
        }
    }
}

bool liesAtOtherCopy(const Partner& y, const Partner& z, int tolerance, const MapSettings& s) {
    if (z.matchedCount < y.matchedCount + s.copyMargin) return false;
    int beyond = 0;
    for (size_t i = 0; i < y.matched.size(); ++i)
        if (y.matched[i] && !z.matched[i] && ++beyond > s.copySlack) return false;
    return sharedBands(y.own.data(), (int)y.own.size(), z.own.data(), (int)z.own.size(),
                       tolerance) <= s.copyApart;
}

} // namespace

std::vector<int> partnersAtOtherCopies(const OverlapGraph& g, const PrintsView& prints, int x,
                                       const MapSettings& s) {
    std::vector<Partner> partners;
    Partner p;
    for (const Overlap* o = g.begin(x); o != g.end(x); ++o) {
        splitBands(prints[(size_t)o->to].bands, prints[(size_t)x].bands, s.tolerance, p);
        if ((int)p.own.size() < s.copyOwnBands) continue;
        p.clone = o->to;
        partners.push_back(p);
    }
    std::vector<int> found;
    for (const Partner& y : partners)
        for (const Partner& z : partners)
            if (&y != &z && liesAtOtherCopy(y, z, s.tolerance, s)) {
                found.push_back(y.clone);
                break;
            }
    return found;
}

std::vector<std::pair<int, int>> repeatCopyCuts(const OverlapGraph& g, const PrintsView& prints,
                                                const MapSettings& s) {
    std::vector<std::pair<int, int>> seen; // from each end that finds it
    for (int x = 0; x < g.size(); ++x)
        for (int y : partnersAtOtherCopies(g, prints, x, s))
            seen.push_back({std::min(x, y), std::max(x, y)});
    std::sort(seen.begin(), seen.end());
    std::vector<std::pair<int, int>> cuts;
    for (size_t k = 0; k + 1 < seen.size(); ++k)
        if (seen[k] == seen[k + 1] && (cuts.empty() || cuts.back() != seen[k]))
            cuts.push_back(seen[k]);
    return cuts;
}
