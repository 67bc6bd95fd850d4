#include "zeContigExtent.h"

#include <algorithm>
#include <cmath>

MarkerGaps markerGaps(const MarkerMap& map, const std::vector<bool>& counted) {
    const size_t n = map.names.size();
    MarkerGaps g{std::vector<double>(n, HUGE_VAL), std::vector<double>(n, HUGE_VAL)};
    std::vector<size_t> order;
    for (size_t k = 0; k < n; ++k)
        if (counted[k]) order.push_back(k);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return map.chromosome[a] != map.chromosome[b] ? map.chromosome[a] < map.chromosome[b]
                                                      : map.position[a] < map.position[b];
    });
    // Markers at one position share their gaps: the next position differs.
    for (size_t i = 0; i < order.size();) {
        size_t j = i;
        while (j < order.size() && map.chromosome[order[j]] == map.chromosome[order[i]] &&
               map.position[order[j]] == map.position[order[i]])
            ++j;
        const double at = map.position[order[i]];
        for (size_t k = i; k < j; ++k) {
            if (i > 0 && map.chromosome[order[i - 1]] == map.chromosome[order[i]])
                g.below[order[k]] = at - map.position[order[i - 1]];
            if (j < order.size() && map.chromosome[order[j]] == map.chromosome[order[i]])
                g.above[order[k]] = map.position[order[j]] - at;
        }
        i = j;
    }
    return g;
}

bool extentContradictsMap(const ContigAnchor& a, const std::vector<MarkerOnContig>& on,
                          const MarkerMap& map, const MarkerGaps& gaps,
                          const MapCalibration& calibration, long left, long right) {
    if (!calibration.known || a.status != AnchorStatus::Anchored) return false;
    const size_t chromosome = a.chromosomes[0];
    const MarkerOnContig *first = nullptr, *last = nullptr;
    size_t lowest = 0, highest = 0;
    for (const MarkerOnContig& m : on) {
        if (map.chromosome[m.marker] != chromosome) continue;
        if (!first) {
            first = &m;
            lowest = highest = m.marker;
        }
        last = &m; // `on` runs along the contig
        if (map.position[m.marker] < map.position[lowest]) lowest = m.marker;
        if (map.position[m.marker] > map.position[highest]) highest = m.marker;
    }
    if (!first) return false;
    const double leftEnd = calibration.scale * (first->at - (double)left);
    const double rightEnd = calibration.scale * ((double)right - last->at);
    const double slack = EXTENT_SLACK * calibration.noise;
    const double low = gaps.below[lowest] + slack, high = gaps.above[highest] + slack;
    const bool forward = leftEnd <= low && rightEnd <= high;
    const bool backward = rightEnd <= low && leftEnd <= high;
    return a.strand > 0 ? !forward : a.strand < 0 ? !backward : !forward && !backward;
}
