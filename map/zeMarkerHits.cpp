#include "zeMarkerHits.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "zeTextFile.h"

namespace {

// The fingerprints of one clone: a range of the sorted prints.
std::pair<int, int> printsOf(const std::vector<Fingerprint>& prints, const std::string& clone) {
    auto low =
        std::lower_bound(prints.begin(), prints.end(), clone,
                         [](const Fingerprint& f, const std::string& c) { return f.clone < c; });
    auto high = low;
    while (high != prints.end() && high->clone == clone)
        ++high;
    return {(int)(low - prints.begin()), (int)(high - prints.begin())};
}

} // namespace

MarkerHits markerHitsOf(const std::vector<HitLine>& lines, const std::string& name,
                        const std::vector<Fingerprint>& prints, std::vector<std::string>& warnings) {
    MarkerHits hits;
    std::unordered_map<std::string, int> markerOf;
    LeftOutHits unknown, repeated;
    for (const HitLine& line : lines) {
        if (line.repeats) {
            repeated.add(line, line.clone + " " + line.marker);
            continue;
        }
        const std::pair<int, int> range = printsOf(prints, line.clone);
        if (range.first == range.second) {
            unknown.add(line, line.clone);
            continue;
        }
        auto found = markerOf.emplace(line.marker, (int)hits.markers.size());
        if (found.second) {
            hits.markers.push_back(line.marker);
            hits.prints.emplace_back();
        }
        std::vector<int>& hit = hits.prints[(size_t)found.first->second];
        for (int v = range.first; v < range.second; ++v)
            hit.push_back(v);
        ++hits.hits;
    }
    for (std::vector<int>& hit : hits.prints)
        std::sort(hit.begin(), hit.end());
    if (unknown.count)
        warnings.push_back("WARNING: " + name + ": " + std::to_string(unknown.count) +
                           " hits name a clone in no bands file, left out (the first, '" +
                           shownText(unknown.first) + "', on line " +
                           std::to_string(unknown.firstLine) + ")");
    if (repeated.count)
        warnings.push_back("WARNING: " + name + ": " + std::to_string(repeated.count) +
                           " repeated lines ignored (the first, '" + shownText(repeated.first) +
                           "', on line " + std::to_string(repeated.firstLine) + ")");
    return hits;
}

bool parseMarkerHits(const std::string& bytes, const std::string& name,
                     const std::vector<Fingerprint>& prints, MarkerHits& hits,
                     std::vector<std::string>& warnings, std::string& error) {
    std::vector<HitLine> lines;
    if (!parseHitsFile(bytes, name, lines, error)) return false;
    hits = markerHitsOf(lines, name, prints, warnings);
    return true;
}
