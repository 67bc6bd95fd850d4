#include "zePartnerBands.h"

void splitPartnerBands(const std::vector<int>& y, const std::vector<int>& x, int tolerance,
                       PartnerBands& p) {
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

std::vector<PartnerBands> partnersReachingPast(const OverlapGraph& g, const PrintsView& prints,
                                               int x, int tolerance, int fewestOwn) {
    std::vector<PartnerBands> partners;
    PartnerBands p;
    for (const Overlap* o = g.begin(x); o != g.end(x); ++o) {
        splitPartnerBands(prints[(size_t)o->to].bands, prints[(size_t)x].bands, tolerance, p);
        if ((int)p.own.size() < fewestOwn) continue;
        p.clone = o->to;
        partners.push_back(p);
    }
    return partners;
}
