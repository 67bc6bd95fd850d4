#include "zeBurial.h"

std::vector<int> findBurials(const OverlapGraph& g, const ClonePlaces& places, double share) {
    std::vector<int> buriedIn((size_t)g.size(), -1);
    for (int a = 0; a < g.size(); ++a) {
        const ClonePlace& inner = places[a];
        if (inner.contig == 0) continue;
        const int na = (int)(inner.right - inner.left);
        int best = -1, bestShared = 0;
        for (const Overlap* o = g.begin(a); o != g.end(a); ++o) {
            const int b = o->to;
            const ClonePlace& outer = places[b];
            const int nb = (int)(outer.right - outer.left);
            if (outer.contig != inner.contig || na == 0 || o->shared < share * na) continue;
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
