#include "zeBurial.h"

std::vector<int> findBurials(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                             const std::vector<int>& groupOf) {
    std::vector<int> buriedIn((size_t)g.size(), -1);
    for (int a = 0; a < g.size(); ++a) {
        if (groupOf[a] < 0) continue;
        const int na = (int)prints[a].bands.size();
        int best = -1, bestShared = 0;
        for (const Overlap* o = g.begin(a); o != g.end(a); ++o) {
            const int b = o->to, nb = (int)prints[b].bands.size();
            if (groupOf[b] != groupOf[a] || o->shared < BURIED_SHARE * na) continue;
            if (nb < na || (nb == na && b > a)) continue;
            if (o->shared > bestShared) {
                best = b;
                bestShared = o->shared;
            }
        }
        buriedIn[a] = best;
    }
    return buriedIn;
}

int burialRoot(const std::vector<int>& buriedIn, int v) {
    while (buriedIn[v] >= 0)
        v = buriedIn[v];
    return v;
}
