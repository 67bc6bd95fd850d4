#include "zeBandSpread.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Index into `to` of the band nearest `value`; ties go to the lower band.
size_t nearest(const std::vector<int>& to, int value) {
    size_t k = std::lower_bound(to.begin(), to.end(), value) - to.begin();
    if (k == to.size()) return k - 1;
    if (k > 0 && value - to[k - 1] <= to[k] - value) return k - 1;
    return k;
}

// The value at nearest rank ceil(percent n / 100) of sorted values.
int percentile(const std::vector<int>& sorted, int percent) {
    size_t rank = (sorted.size() * percent + 99) / 100;
    return sorted[std::max<size_t>(rank, 1) - 1];
}

} // namespace

std::vector<int> nearestBandDifferences(const std::vector<int>& a, const std::vector<int>& b,
                                        int window) {
    std::vector<int> differences;
    if (a.empty() || b.empty()) return differences;
    for (size_t i = 0; i < a.size(); i++) {
        size_t j = nearest(b, a[i]);
        if (nearest(a, b[j]) != i) continue;
        int d = std::abs(a[i] - b[j]);
        if (d <= window) differences.push_back(d);
    }
    return differences;
}

BandSpread bandSpread(std::vector<int> differences) {
    BandSpread s;
    if (differences.empty()) return s;
    std::sort(differences.begin(), differences.end());
    s.matched = (int)differences.size();
    s.median = percentile(differences, SPREAD_MEDIAN_PERCENT);
    s.percentile95 = percentile(differences, SPREAD_SUGGESTION_PERCENT);
    s.suggestedTolerance = std::min(std::max(s.percentile95, 1), MAX_TOLERANCE);
    return s;
}
