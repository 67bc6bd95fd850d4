#include "zeMapFragments.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace {

struct PlacedBand {
    double units;
    long left, right;
};

struct Cluster {
    double sum = 0;
    int count = 0;
    double lo = 0, hi = 0; // where all its clones overlap
    double mean() const { return sum / count; }
};

// The fragments of one contig from its clones' bands, ascending by units.
void contigFragments(int contig, std::vector<PlacedBand>& bands, double tolerance,
                     std::vector<MapFragment>& out) {
    std::sort(bands.begin(), bands.end(), [](const PlacedBand& a, const PlacedBand& b) {
        return std::tie(a.units, a.left, a.right) < std::tie(b.units, b.left, b.right);
    });
    std::vector<Cluster> open, done;
    for (const PlacedBand& b : bands) {
        // Clusters too far below in size take no more bands.
        size_t kept = 0;
        for (Cluster& c : open)
            if (b.units - c.mean() > tolerance)
                done.push_back(c);
            else
                open[kept++] = c;
        open.resize(kept);
        Cluster* best = nullptr;
        double bestOverlap = -PLACE_SLACK;
        for (Cluster& c : open) {
            double overlap = std::min(c.hi, (double)b.right) - std::max(c.lo, (double)b.left);
            if (overlap > bestOverlap) {
                bestOverlap = overlap;
                best = &c;
            }
        }
        if (!best) {
            Cluster c;
            c.sum = b.units;
            c.count = 1;
            c.lo = (double)b.left;
            c.hi = (double)b.right;
            open.push_back(c);
            continue;
        }
        best->sum += b.units;
        best->count += 1;
        double lo = std::max(best->lo, (double)b.left), hi = std::min(best->hi, (double)b.right);
        if (lo > hi) lo = hi = (lo + hi) / 2;
        best->lo = lo;
        best->hi = hi;
    }
    done.insert(done.end(), open.begin(), open.end());
    for (const Cluster& c : done)
        if (c.count >= FEWEST_SUPPORT) out.push_back({contig, (c.lo + c.hi) / 2, c.mean(), c.count});
}

} // namespace

ClonesNear clonesNear(const ContigClones& c, long left, long right) {
    const MapClone* first = c.clones.data();
    const MapClone* last = first + c.clones.size();
    const MapClone* from = std::upper_bound(first, last, left - c.longest,
                                            [](long at, const MapClone& m) { return at < m.left; });
    const MapClone* to = std::lower_bound(from, last, right,
                                          [](const MapClone& m, long at) { return m.left < at; });
    return {from, to};
}

bool buildPlaceMap(const std::vector<ContigTableRow>& rows, const std::vector<SizedClone>& clones,
                   const SizeScale& scale, double tolerance, PlaceMap& map, std::string& error) {
    std::map<std::tuple<std::string, std::string, int>, size_t> byIdentity;
    for (size_t k = 0; k < clones.size(); ++k)
        byIdentity.emplace(std::make_tuple(clones[k].print.clone, clones[k].print.gel,
                                           clones[k].print.ordinal),
                           k);
    int contigs = 0;
    for (const ContigTableRow& r : rows)
        contigs = std::max(contigs, r.contig);
    map = PlaceMap();
    map.contigs.assign((size_t)contigs + 1, ContigClones());
    std::vector<std::vector<PlacedBand>> bands((size_t)contigs + 1);
    for (const ContigTableRow& r : rows) {
        auto found = byIdentity.find(std::make_tuple(r.clone, r.gel, r.ordinal));
        if (found == byIdentity.end()) {
            error = "the table's clone " + r.clone + " (gel " + r.gel + ", ordinal " +
                    std::to_string(r.ordinal) +
                    ") is in none of the bands files: give the bands files the map was built from";
            return false;
        }
        if (r.contig <= 0) continue;
        ContigClones& c = map.contigs[(size_t)r.contig];
        c.end = std::max(c.end, r.right);
        c.longest = std::max(c.longest, r.right - r.left);
        MapClone placed;
        placed.left = r.left;
        placed.right = r.right;
        for (int size : clones[found->second].sizes)
            if (size > 0) {
                bands[(size_t)r.contig].push_back({scale.units(size), r.left, r.right});
                placed.units.push_back(scale.units(size));
            }
        std::sort(placed.units.begin(), placed.units.end());
        c.clones.push_back(std::move(placed));
    }
    double length = 0;
    for (int contig = 1; contig <= contigs; ++contig) {
        contigFragments(contig, bands[(size_t)contig], tolerance, map.fragments);
        length += (double)map.contigs[(size_t)contig].end;
        std::vector<MapClone>& placed = map.contigs[(size_t)contig].clones;
        std::sort(placed.begin(), placed.end(), [](const MapClone& a, const MapClone& b) {
            return std::tie(a.left, a.right, a.units) < std::tie(b.left, b.right, b.units);
        });
    }
    std::stable_sort(map.fragments.begin(), map.fragments.end(),
                     [](const MapFragment& a, const MapFragment& b) { return a.units < b.units; });
    map.density = length > 0 ? (double)map.fragments.size() / length : 0;
    if (map.density > 0) map.unitsPerBand = PLACE_STEP / map.density;
    return true;
}
