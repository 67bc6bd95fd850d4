#include "zeMarkerHits.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <utility>

#include "zeTextFile.h"

namespace {

const char* HEADER = "clone\tmarker";

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

// A count of left-out lines and where the first was.
struct LeftOut {
    long lines = 0, firstLine = 0;
    std::string first;
    void add(long line, const std::string& what) {
        if (lines++ == 0) {
            firstLine = line;
            first = what;
        }
    }
};

} // namespace

bool parseMarkerHits(const std::string& bytes, const std::string& name,
                     const std::vector<Fingerprint>& prints, MarkerHits& hits,
                     std::vector<std::string>& warnings, std::string& error) {
    hits = MarkerHits();
    std::unordered_map<std::string, int> markerOf;
    std::set<std::pair<std::string, std::string>> seen;
    LeftOut unknown, repeated;
    size_t at = 0;
    long number = 0, firstBlank = 0;
    auto fail = [&](long line, const std::string& what) {
        error = name + ":" + std::to_string(line) + ": " + what;
        return false;
    };
    std::string line;
    while (nextLine(bytes, at, line)) {
        ++number;
        if (number == 1) {
            if (line != HEADER)
                return fail(1, "expected the header 'clone<TAB>marker' of a hits file, not '" +
                                   line + "'");
            continue;
        }
        if (line.empty()) {
            if (!firstBlank) firstBlank = number;
            continue;
        }
        if (firstBlank) return fail(firstBlank, "a blank line inside the hits");
        const std::vector<std::string> f = splitFields(line, '\t');
        if (f.size() != 2)
            return fail(number, "expected 2 tab-separated fields (clone, marker), not " +
                                    std::to_string(f.size()));
        if (f[0].empty() || f[1].empty()) return fail(number, "an empty clone or marker name");
        if (!seen.insert({f[0], f[1]}).second) {
            repeated.add(number, f[0] + " " + f[1]);
            continue;
        }
        const std::pair<int, int> range = printsOf(prints, f[0]);
        if (range.first == range.second) {
            unknown.add(number, f[0]);
            continue;
        }
        auto found = markerOf.emplace(f[1], (int)hits.markers.size());
        if (found.second) {
            hits.markers.push_back(f[1]);
            hits.prints.emplace_back();
        }
        std::vector<int>& hit = hits.prints[(size_t)found.first->second];
        for (int v = range.first; v < range.second; ++v)
            hit.push_back(v);
        ++hits.hits;
    }
    if (number == 0)
        return fail(1, "expected the header 'clone<TAB>marker' of a hits file, not an empty file");
    for (std::vector<int>& hit : hits.prints)
        std::sort(hit.begin(), hit.end());
    if (unknown.lines)
        warnings.push_back("WARNING: " + name + ": " + std::to_string(unknown.lines) +
                           " hits name a clone in no bands file, left out (the first, '" +
                           unknown.first + "', on line " + std::to_string(unknown.firstLine) + ")");
    if (repeated.lines)
        warnings.push_back("WARNING: " + name + ": " + std::to_string(repeated.lines) +
                           " repeated lines ignored (the first, '" + repeated.first +
                           "', on line " + std::to_string(repeated.firstLine) + ")");
    return true;
}

bool readMarkerHits(const std::string& path, const std::vector<Fingerprint>& prints,
                    MarkerHits& hits, std::vector<std::string>& warnings, std::string& error) {
    std::string bytes;
    return readWholeFile(path, bytes, error) &&
           parseMarkerHits(bytes, path, prints, hits, warnings, error);
}
