#include "zeMisfits.h"

#include <algorithm>

#include "zeSharedBands.h"

namespace {

bool fitsBadlyAmong(const std::vector<Fingerprint>& prints, const std::vector<Placement>& byLeft,
                    size_t self, long longest, const MapSettings& s) {
    const Placement& a = byLeft[self];
    const std::vector<int>& bands = prints[a.print].bands;
    const long length = a.right - a.left;
    if (bands.empty() || length <= 0) return false;
    std::vector<int> support(bands.size(), 0);
    std::vector<int> depthChange((size_t)length + 1, 0);
    auto first = std::lower_bound(byLeft.begin(), byLeft.end(), a.left - longest,
                                  [](const Placement& p, long left) { return p.left < left; });
    for (auto b = first; b != byLeft.end() && b->left < a.right; ++b) {
        if ((size_t)(b - byLeft.begin()) == self || b->right <= a.left) continue;
        ++depthChange[std::max(b->left, a.left) - a.left];
        --depthChange[std::min(b->right, a.right) - a.left];
        const std::vector<int>& other = prints[b->print].bands;
        for (size_t k = 0; k < bands.size(); ++k)
            if (hasBandNear(other, bands[k], s.tolerance)) ++support[k];
    }
    long covered = 0;
    int depth = 0;
    for (long u = 0; u < length; ++u) {
        depth += depthChange[u];
        if (depth >= s.fitSupport) ++covered;
    }
    long explained = std::count_if(support.begin(), support.end(),
                                   [&](int n) { return n >= s.fitSupport; });
    double unexplained = (double)covered / length - (double)explained / bands.size();
    return unexplained > s.mostUnexplained;
}

} // namespace

std::vector<char> fitsBadly(const std::vector<Fingerprint>& prints,
                            const std::vector<Placement>& contig, const MapSettings& settings) {
    std::vector<size_t> order(contig.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t x, size_t y) {
        return contig[x].left != contig[y].left ? contig[x].left < contig[y].left : x < y;
    });
    std::vector<Placement> byLeft;
    long longest = 0;
    for (size_t i : order) {
        byLeft.push_back(contig[i]);
        longest = std::max(longest, contig[i].right - contig[i].left);
    }
    std::vector<char> bad(contig.size(), 0);
    for (size_t k = 0; k < byLeft.size(); ++k)
        bad[order[k]] = fitsBadlyAmong(prints, byLeft, k, longest, settings) ? 1 : 0;
    return bad;
}

std::vector<char> findMisfits(const std::vector<Fingerprint>& prints,
                              const std::vector<std::vector<int>>& groups,
                              const ClonePlaces& places, const MapSettings& settings) {
    std::vector<char> misfit(prints.size(), 0);
    for (const std::vector<int>& members : groups) {
        std::vector<Placement> placements;
        for (int v : members)
            placements.push_back({v, places[v].left, places[v].right});
        std::vector<char> bad = fitsBadly(prints, placements, settings);
        for (size_t i = 0; i < members.size(); ++i)
            misfit[members[i]] = bad[i];
    }
    return misfit;
}
