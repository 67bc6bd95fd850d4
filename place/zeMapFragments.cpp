#include "zeMapFragments.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <tuple>

#include "zeFragmentPlace.h"

namespace {

struct PlacedBand {
    double units;
    long left, right;
    int clone; // its clone, numbered within the contig
};

struct Cluster {
    double sum = 0;
    int count = 0;
    double lo = 0, hi = 0; // where all its clones overlap
    std::vector<std::pair<long, long>> spans; // its clones' ends
    std::vector<int> clones;                  // and numbers
    bool holds(int clone) const { return std::find(clones.begin(), clones.end(), clone) != clones.end(); }
    size_t last = 0;       // the band it took last
    size_t closed = 0;     // the band from which it took no more; the bands' count: never
    long bucket = 0;       // of ClustersByPlace
    bool shut = false;
    double mean() const { return sum / count; }
};

// The first band of [from, to), ascending by units, too far above the
// cluster in size to join it; `to` when there is none.
size_t closingBand(const std::vector<PlacedBand>& bands, const Cluster& c, size_t from, size_t to,
                   double tolerance) {
    const double mean = c.mean();
    return (size_t)(std::partition_point(bands.begin() + (long)from, bands.begin() + (long)to,
                                         [&](const PlacedBand& b) { return !(b.units - mean > tolerance); }) -
                    bands.begin());
}

// The fragments of one contig from its clones' bands, ascending by units.
//
// A band joins the open cluster it overlaps most (by more than
// -PLACE_SLACK; the first made of those alike) that holds no band of its
// clone, or starts one. A cluster
// lies within its first clone, so no longer than the contig's longest
// clone: the clusters are kept in buckets of that width by their low end,
// and a band looks only at those of the buckets around its clone. A
// cluster shuts at the first band too far above it in size; it is found
// shut when a band looks at it (or at the end), and when it shut is found
// again by binary search, so that the fragments come out in the order in
// which the clusters shut, then in the order they were made.
void contigFragments(int contig, std::vector<PlacedBand>& bands, long longest, double tolerance,
                     std::vector<MapFragment>& out) {
    std::sort(bands.begin(), bands.end(), [](const PlacedBand& a, const PlacedBand& b) {
        return std::tie(a.units, a.left, a.right, a.clone) < std::tie(b.units, b.left, b.right, b.clone);
    });
    const size_t n = bands.size();
    const double width = std::max(1.0, (double)longest);
    long furthest = 0;
    for (const PlacedBand& b : bands)
        furthest = std::max(furthest, b.right);
    const long buckets = (long)((double)furthest / width) + 2;
    auto bucketOf = [&](double at) {
        return std::min(buckets - 1, std::max(0L, (long)std::floor(at / width)));
    };
    std::vector<Cluster> clusters;
    std::vector<std::vector<size_t>> byPlace((size_t)buckets);
    for (size_t t = 0; t < n; ++t) {
        const PlacedBand& b = bands[t];
        size_t best = SIZE_MAX;
        double bestOverlap = -PLACE_SLACK;
        const long lowest = std::max(0L, bucketOf((double)b.left - PLACE_SLACK - width) - 1),
                   highest = std::min(buckets - 1, bucketOf((double)b.right + PLACE_SLACK) + 1);
        for (long k = lowest; k <= highest; ++k) {
            std::vector<size_t>& ids = byPlace[(size_t)k];
            size_t kept = 0;
            for (size_t id : ids) {
                Cluster& c = clusters[id];
                if (c.shut || c.bucket != k) continue; // moved, or shut before
                if (b.units - c.mean() > tolerance) {
                    c.shut = true;
                    c.closed = closingBand(bands, c, c.last + 1, t + 1, tolerance);
                    continue;
                }
                ids[kept++] = id;
                if (c.holds(b.clone)) continue; // a clone's band of another fragment
                double overlap = std::min(c.hi, (double)b.right) - std::max(c.lo, (double)b.left);
                if (overlap > bestOverlap || (best != SIZE_MAX && overlap == bestOverlap && id < best)) {
                    bestOverlap = overlap;
                    best = id;
                }
            }
            ids.resize(kept);
        }
        if (best == SIZE_MAX) {
            Cluster c;
            c.sum = b.units;
            c.count = 1;
            c.lo = (double)b.left;
            c.hi = (double)b.right;
            c.last = t;
            c.spans.push_back({b.left, b.right});
            c.clones.push_back(b.clone);
            c.bucket = bucketOf(c.lo);
            byPlace[(size_t)c.bucket].push_back(clusters.size());
            clusters.push_back(c);
            continue;
        }
        Cluster& c = clusters[best];
        c.sum += b.units;
        c.count += 1;
        double lo = std::max(c.lo, (double)b.left), hi = std::min(c.hi, (double)b.right);
        if (lo > hi) lo = hi = (lo + hi) / 2;
        c.lo = lo;
        c.hi = hi;
        c.last = t;
        c.spans.push_back({b.left, b.right});
        c.clones.push_back(b.clone);
        if (bucketOf(lo) != c.bucket) {
            c.bucket = bucketOf(lo);
            byPlace[(size_t)c.bucket].push_back(best);
        }
    }
    std::vector<size_t> order(clusters.size());
    for (size_t id = 0; id < clusters.size(); ++id) {
        Cluster& c = clusters[id];
        if (!c.shut) c.closed = closingBand(bands, c, c.last + 1, n, tolerance);
        order[id] = id;
    }
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return std::tie(clusters[a].closed, a) < std::tie(clusters[b].closed, b);
    });
    for (size_t id : order) {
        const Cluster& c = clusters[id];
        if (c.count >= FEWEST_SUPPORT) out.push_back({contig, deepestPlace(c.spans), c.mean(), c.count});
    }
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
    std::vector<int> clonesOf((size_t)contigs + 1, 0);
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
        const int number = clonesOf[(size_t)r.contig]++;
        for (int size : clones[found->second].sizes)
            if (size > 0) {
                bands[(size_t)r.contig].push_back({scale.units(size), r.left, r.right, number});
                placed.units.push_back(scale.units(size));
            }
        std::sort(placed.units.begin(), placed.units.end());
        c.clones.push_back(std::move(placed));
    }
    double length = 0;
    for (int contig = 1; contig <= contigs; ++contig) {
        contigFragments(contig, bands[(size_t)contig], map.contigs[(size_t)contig].longest, tolerance,
                        map.fragments);
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
