#include "zeChromosomeInput.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "zeTextFile.h"

namespace {

std::string plural(long n, const std::string& one, const std::string& many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

ChromosomeInput gatherChromosomeInput(const std::vector<ContigTableRow>& rows,
                                      const std::vector<HitLine>& hits, const MarkerMap& map,
                                      const ChromosomeFiles& names) {
    ChromosomeInput in;
    std::multimap<std::string, size_t> rowsOf; // a clone's rows: one per gel it was run on
    int most = 0;
    for (size_t k = 0; k < rows.size(); ++k) {
        rowsOf.emplace(rows[k].clone, k);
        most = std::max(most, rows[k].contig);
    }
    in.contigs.resize((size_t)most);
    for (int c = 1; c <= most; ++c)
        in.contigs[(size_t)c - 1].contig = c;
    for (const ContigTableRow& r : rows) {
        if (r.contig == 0) continue;
        AnchorContig& c = in.contigs[(size_t)r.contig - 1];
        c.left = c.clones ? std::min(c.left, r.left) : r.left;
        c.right = c.clones ? std::max(c.right, r.right) : r.right;
        ++c.clones;
    }
    LeftOutHits unknownClone, unknownMarker, repeated;
    std::vector<std::set<size_t>> clonesHit(map.names.size());
    std::vector<std::pair<size_t, size_t>> kept; // (row, marker)
    for (const HitLine& h : hits) {
        auto marker = map.byName.find(h.marker);
        auto clone = rowsOf.equal_range(h.clone);
        if (h.repeats)
            repeated.add(h, "repeats line " + std::to_string(h.repeats));
        else if (clone.first == clone.second)
            unknownClone.add(h, "clone " + h.clone);
        else if (marker == map.byName.end())
            unknownMarker.add(h, "marker " + h.marker);
        else
            for (auto r = clone.first; r != clone.second; ++r) {
                kept.emplace_back(r->second, marker->second);
                clonesHit[marker->second].insert(r->second);
            }
    }
    auto warn = [&](const LeftOutHits& l, const std::string& one, const std::string& many) {
        if (l.count)
            in.warnings.push_back("WARNING: '" + names.hits + "': " + std::to_string(l.count) +
                                  " " + (l.count == 1 ? one : many) + " (the first, line " +
                                  std::to_string(l.firstLine) + ": " + shownText(l.first) +
                                  "); left out");
    };
    warn(repeated, "line repeats an earlier one", "lines repeat earlier ones");
    const std::string inTable = " not in the contig table '" + names.table + "'";
    warn(unknownClone, "line names a clone" + inTable, "lines name clones" + inTable);
    const std::string inMap = " not in the marker map '" + names.map + "'";
    warn(unknownMarker, "line names a marker" + inMap, "lines name markers" + inMap);

    std::vector<long> counts;
    for (const std::set<size_t>& c : clonesHit) {
        counts.push_back((long)c.size());
        in.rowsHit.emplace_back(c.begin(), c.end());
    }
    in.repeatProbes = repeatProbes(counts);
    std::string probes;
    long probeCount = 0;
    for (size_t m = 0; m < counts.size(); ++m)
        if (in.repeatProbes[m]) {
            if (probeCount++ < 5) probes += (probes.empty() ? "" : ", ") + shownText(map.names[m]);
        }
    if (probeCount)
        in.warnings.push_back("WARNING: '" + names.hits + "': " +
                              plural(probeCount, "marker hits", "markers hit") +
                              " more clones than the coverage explains, more than " +
                              std::to_string((long)REPEAT_FACTOR) + " times the median per marker plus " +
                              std::to_string((long)REPEAT_SLACK) + ": repeat probes, left out (" +
                              probes + (probeCount > 5 ? ", ..." : "") + ")");
    for (const auto& hit : kept) {
        const ContigTableRow& r = rows[hit.first];
        if (r.contig == 0) continue;
        in.contigs[(size_t)r.contig - 1].hits.push_back({r.left, r.right, hit.first, hit.second});
    }
    // A table may skip contig numbers.
    in.contigs.erase(std::remove_if(in.contigs.begin(), in.contigs.end(),
                                    [](const AnchorContig& c) { return c.clones == 0; }),
                     in.contigs.end());
    return in;
}
