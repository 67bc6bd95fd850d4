#include "zeFragmentPlace.h"

#include <algorithm>

double deepestPlace(std::vector<std::pair<long, long>> spans) {
    // Ends as events: +1 at a left end, -1 at a right end; at one place the
    // right ends first, so that clones that only touch do not overlap.
    std::vector<std::pair<long, int>> events;
    events.reserve(2 * spans.size());
    for (const auto& s : spans) {
        events.push_back({s.first, 1});
        events.push_back({std::max(s.first, s.second), -1});
    }
    std::sort(events.begin(), events.end());
    int depth = 0, deepest = -1;
    long from = 0, to = 0;
    for (size_t k = 0; k < events.size(); ++k) {
        depth += events[k].second;
        const bool last = k + 1 == events.size() || events[k + 1].first != events[k].first;
        if (!last) continue;
        if (depth > deepest) {
            deepest = depth;
            from = events[k].first;
            to = k + 1 < events.size() ? events[k + 1].first : from;
        } else if (depth == deepest && k + 1 < events.size()) {
            to = events[k + 1].first;
        }
    }
    return (double)(from + to) / 2;
}
