#include "zeLibMarkers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::string markerName(size_t ordinal) {
    char name[32];
    snprintf(name, sizeof name, "m%06zu", ordinal);
    return name;
}

struct PlacedPiece {
    int64_t start, end;
    size_t clone;
    bool operator<(const PlacedPiece& o) const { return start < o.start; }
};

// Every piece of every clone, by start, and the longest piece's length:
// the clones holding a position are those starting within that length
// before it.
struct PieceIndex {
    std::vector<PlacedPiece> pieces;
    int64_t longest = 0;

    explicit PieceIndex(const std::vector<Clone>& clones) {
        for (size_t k = 0; k < clones.size(); ++k) {
            pieces.push_back({clones[k].first.start, clones[k].first.end, k});
            if (clones[k].chimeric) pieces.push_back({clones[k].second.start, clones[k].second.end, k});
        }
        std::sort(pieces.begin(), pieces.end());
        for (const PlacedPiece& p : pieces)
            longest = std::max(longest, p.end - p.start);
    }

    template <class Visit> void holding(int64_t at, Visit visit) const {
        auto past = std::upper_bound(pieces.begin(), pieces.end(), PlacedPiece{at, 0, 0});
        for (auto p = past; p != pieces.begin();) {
            --p;
            if (p->start <= at - longest) break;
            if (at < p->end) visit(p->clone);
        }
    }
};

void appendLine(std::string& out, const std::vector<std::string>& fields) {
    for (size_t k = 0; k < fields.size(); ++k) {
        if (k) out += '\t';
        out += fields[k];
    }
    out += '\n';
}

} // namespace

std::vector<Marker> placeMarkers(Rng& rng, const Chromosomes& c, const MarkerSettings& s) {
    std::vector<Marker> markers;
    const int64_t genome = c.bounds.back();
    for (size_t k = 0; k < c.count(); ++k) {
        const double length = (double)c.length(k);
        const long count = std::max(1L, std::lround(length / s.spacing));
        const double window = length / (double)count;
        for (long j = 0; j < count; ++j) {
            Marker m;
            m.name = markerName(markers.size() + 1);
            m.chromosome = k;
            int64_t offset = std::min((int64_t)length - 1, (int64_t)(window * ((double)j + rng.uniform())));
            m.position = c.start(k) + offset;
            double mapped = std::round((double)offset + s.mapError * rng.gaussian());
            m.mapPosition = (int64_t)std::min(length - 1, std::max(0.0, mapped));
            m.loci.push_back(m.position);
            if (s.repeatProbes > 0 && rng.chance(s.repeatProbes)) {
                m.repeatProbe = true;
                int others = REPEAT_PROBE_FEWEST_LOCI +
                             (int)rng.below(REPEAT_PROBE_MOST_LOCI - REPEAT_PROBE_FEWEST_LOCI + 1);
                for (int l = 0; l < others; ++l)
                    m.loci.push_back((int64_t)rng.below((uint64_t)genome));
            }
            markers.push_back(std::move(m));
        }
    }
    return markers;
}

std::vector<std::pair<size_t, size_t>> markerHits(Rng& rng, const std::vector<Marker>& markers,
                                                  const std::vector<Clone>& clones,
                                                  const MarkerSettings& s) {
    PieceIndex index(clones);
    std::vector<std::pair<size_t, size_t>> hits;
    for (size_t m = 0; m < markers.size(); ++m) {
        for (int64_t locus : markers[m].loci) {
            index.holding(locus, [&](size_t clone) {
                if (rng.chance(s.miss)) return;
                hits.emplace_back(clone, m);
                if (s.falseHits > 0 && rng.chance(s.falseHits))
                    hits.emplace_back((size_t)rng.below(clones.size()), m);
            });
        }
    }
    std::sort(hits.begin(), hits.end());
    hits.erase(std::unique(hits.begin(), hits.end()), hits.end());
    return hits;
}

std::string markerHitsTable(const std::vector<std::pair<size_t, size_t>>& hits,
                            const std::vector<std::string>& cloneNames,
                            const std::vector<Marker>& markers) {
    std::string out = "clone\tmarker\n";
    for (const auto& hit : hits)
        appendLine(out, {cloneNames[hit.first], markers[hit.second].name});
    return out;
}

std::string markerMapTable(const std::vector<Marker>& markers) {
    std::string out = "marker\tchromosome\tposition\n";
    for (const Marker& m : markers)
        appendLine(out, {m.name, chromosomeName(m.chromosome), std::to_string((long long)m.mapPosition)});
    return out;
}

std::string markersTruthTable(const std::vector<Marker>& markers, const Chromosomes& c) {
    std::string out = "marker\tchromosome\tposition\tgenome_position\trepeat_probe\n";
    for (const Marker& m : markers)
        appendLine(out, {m.name, chromosomeName(m.chromosome),
                         std::to_string((long long)(m.position - c.start(m.chromosome))),
                         std::to_string((long long)m.position), m.repeatProbe ? "1" : "0"});
    return out;
}
