#include "zeLibClone.h"

#include <algorithm>
#include <cmath>

Clone placeClone(Rng& rng, double mean, double sd, int64_t genome) {
    double length = std::round(mean + sd * rng.gaussian());
    Clone c;
    int64_t n = (int64_t)std::min((double)genome, std::max(1.0, length));
    c.first.start = (int64_t)((double)(genome - n + 1) * (1.0 - rng.uniform()));
    c.first.start = std::min(c.first.start, genome - n);
    c.first.end = c.first.start + n;
    c.placedEnd = c.first.end;
    return c;
}

void maybeChimeric(Rng& rng, double share, int64_t genome, Clone& c) {
    if (share <= 0 || !rng.chance(share)) return;
    const int64_t n = c.placedEnd - c.first.start;
    if (n < 2) return;
    double split = CHIMERA_SPLIT_LOW + (CHIMERA_SPLIT_HIGH - CHIMERA_SPLIT_LOW) * rng.uniform();
    int64_t n1 = std::min(n - 1, std::max((int64_t)1, (int64_t)std::round((double)n * split)));
    int64_t n2 = n - n1;
    Piece first{c.first.start, c.first.start + n1};
    // Starts before the first piece: 0 .. first.start - gap - n2; after it:
    // first.end + gap .. genome - n2.
    int64_t before = std::max((int64_t)0, first.start - CHIMERA_GAP - n2 + 1);
    int64_t after = std::max((int64_t)0, genome - n2 - (first.end + CHIMERA_GAP) + 1);
    if (before + after == 0) return;
    int64_t pick = (int64_t)rng.below((uint64_t)(before + after));
    int64_t start2 = pick < before ? pick : first.end + CHIMERA_GAP + (pick - before);
    c.first = first;
    c.chimeric = true;
    c.second = Piece{start2, start2 + n2};
}

FragmentRange wholeFragments(const std::vector<int64_t>& cuts, const Piece& p) {
    // First cut at or after the start; the last cut at or before the end.
    size_t k = std::lower_bound(cuts.begin(), cuts.end(), p.start) - cuts.begin();
    size_t j = std::upper_bound(cuts.begin(), cuts.end(), p.end) - cuts.begin();
    FragmentRange r;
    if (j >= 1 && j - 1 > k) {
        r.any = true;
        r.first = k;
        r.last = j - 2;
    }
    return r;
}
