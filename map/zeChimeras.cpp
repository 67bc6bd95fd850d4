#include "zeChimeras.h"

#include <algorithm>
#include <cstdint>

#include "zePairScan.h"
#include "zeSharedBands.h"
#include "zeSulston.h"

namespace {

// Which fingerprints have a band at each position.
struct BandIndex {
    std::vector<size_t> start; // by position, one past the last too
    std::vector<int> prints;

    // How many fingerprints have a band from low to high.
    size_t holders(int low, int high) const {
        low = std::max(low, 0);
        high = std::min(high, (int)start.size() - 2);
        return low > high ? 0 : start[(size_t)high + 1] - start[(size_t)low];
    }

    // Only the fingerprints v with indexed[v] are indexed.
    BandIndex(const std::vector<Fingerprint>& all, const std::vector<char>& indexed) {
        int highest = 0;
        for (const Fingerprint& f : all)
            if (!f.bands.empty()) highest = std::max(highest, f.bands.back());
        start.assign((size_t)highest + 2, 0);
        for (size_t v = 0; v < all.size(); ++v) {
            const std::vector<int>& bands = all[v].bands;
            for (size_t k = 0; indexed[v] && k < bands.size(); ++k)
                if (bands[k] >= 0 && (k == 0 || bands[k] != bands[k - 1]))
                    ++start[(size_t)bands[k] + 1];
        }
        for (size_t p = 1; p < start.size(); ++p)
            start[p] += start[p - 1];
        prints.resize(start.back());
        std::vector<size_t> next(start.begin(), start.end() - 1);
        for (size_t v = 0; v < all.size(); ++v) {
            const std::vector<int>& bands = all[v].bands;
            for (size_t k = 0; indexed[v] && k < bands.size(); ++k)
                if (bands[k] >= 0 && (k == 0 || bands[k] != bands[k - 1]))
                    prints[next[(size_t)bands[k]]++] = (int)v;
        }
    }
};

// The bands of v that the clones around it lack: for a buried clone, those
// the clone it lies in lacks; otherwise those fewer than two of its
// neighbours have.
std::vector<int> foreignBands(const OverlapGraph& g, const std::vector<Fingerprint>& prints, int v,
                              const std::vector<int>& buriedIn, int tolerance) {
    const std::vector<int>& bands = prints[v].bands;
    std::vector<int> foreign;
    if (buriedIn[v] >= 0) {
        for (int b : bands)
            if (!hasBandNear(prints[buriedIn[v]].bands, b, tolerance)) foreign.push_back(b);
        return foreign;
    }
    const int needed = std::min(2, g.degree(v));
    for (int b : bands) {
        int holders = 0;
        for (const Overlap* o = g.begin(v); o != g.end(v) && holders < needed; ++o)
            if (hasBandNear(prints[o->to].bands, b, tolerance)) ++holders;
        if (holders < needed) foreign.push_back(b);
    }
    return foreign;
}


struct Home {
    int contig = 0;
    double centre = 0;
    int print = 0;
};

double centreOf(const ClonePlace& c) {
    return (c.left + c.right) / 2.0;
}

// True when the clones of the window and those around v overlap, if only a
// little: then v's lacking bands are those of a place next to its own (a
// neighbouring contig's end), not of a piece from elsewhere.
bool besideItsPlace(const OverlapGraph& g, const std::vector<Fingerprint>& prints, int v,
                    const Home* first, const Home* last, const MapSettings& s) {
    for (const Home* h = first; h != last; ++h)
        for (const Overlap* o = g.begin(v); o != g.end(v); ++o) {
            const int a = std::min(h->print, o->to), b = std::max(h->print, o->to);
            if (a != b && scorePair(prints, a, b, s.tolerance).score <= s.besideCutoff) return true;
        }
    return false;
}

// A clone of v's own contig near enough to v to share its lacking bands
// for being its neighbour.
bool aroundItself(const ClonePlace& self, const ClonePlace& other, double length) {
    return other.contig == self.contig &&
           std::abs(centreOf(other) - centreOf(self)) <= length + (other.right - other.left);
}

// Each contig's clones by centre, by contig number.
std::vector<std::vector<int>> clonesByContig(const ClonePlaces& places) {
    std::vector<std::vector<int>> byContig((size_t)groupsOf(places) + 1);
    for (size_t v = 0; v < places.size(); ++v)
        if (places[v].contig > 0) byContig[(size_t)places[v].contig].push_back((int)v);
    for (std::vector<int>& members : byContig)
        std::stable_sort(members.begin(), members.end(), [&](int a, int b) {
            return centreOf(places[a]) < centreOf(places[b]);
        });
    return byContig;
}

// The clones of one contig (by centre) whose centre lies within `reach`
// of `centre`.
std::vector<int> clonesAround(const std::vector<int>& members, const ClonePlaces& places,
                              double centre, double reach) {
    auto first = std::lower_bound(members.begin(), members.end(), centre - reach,
                                  [&](int v, double at) { return centreOf(places[v]) < at; });
    std::vector<int> around;
    for (auto it = first; it != members.end() && centreOf(places[*it]) <= centre + reach; ++it)
        around.push_back(*it);
    return around;
}

// How many of the bands `wanted` (ascending) have a band of `bands` within
// the tolerance.
int bandsHeld(const std::vector<int>& wanted, const std::vector<int>& bands, int tolerance) {
    int held = 0;
    for (int b : wanted)
        if (hasBandNear(bands, b, tolerance)) ++held;
    return held;
}

struct Extent {
    long left = 0, right = 0;
};

// Each contig's first left and last right, by contig number.
std::vector<Extent> contigExtents(const ClonePlaces& places) {
    const size_t groups = (size_t)groupsOf(places) + 1;
    std::vector<Extent> extents(groups);
    std::vector<char> seen(groups, 0);
    for (const ClonePlace& c : places) {
        if (c.contig == 0) continue;
        Extent& e = extents[(size_t)c.contig];
        if (!seen[(size_t)c.contig] || c.left < e.left) e.left = c.left;
        if (!seen[(size_t)c.contig] || c.right > e.right) e.right = c.right;
        seen[(size_t)c.contig] = 1;
    }
    return extents;
}

// A clone reaching (nearly) to its contig's first or last place.
bool atAnEnd(const ClonePlace& c, const std::vector<Extent>& extents, long reach) {
    const Extent& e = extents[(size_t)c.contig];
    return c.left - e.left <= reach || e.right - c.right <= reach;
}

// The contig where `needed` homes lie within `span` of each other, away
// from v's own place, or 0. A clone at its contig's end whose homes reach
// another contig's end is no chimera: the two contigs meet there, and its
// lacking bands are those of the other's end.
int placeOfHomes(const OverlapGraph& g, const std::vector<Fingerprint>& prints, int v,
                 std::vector<Home>& homes, double span, const ClonePlaces& places,
                 const std::vector<Extent>& extents, const MapSettings& s) {
    const bool selfAtAnEnd = atAnEnd(places[v], extents, s.endReach);
    std::sort(homes.begin(), homes.end(), [](const Home& a, const Home& b) {
        return a.contig != b.contig ? a.contig < b.contig : a.centre < b.centre;
    });
    const size_t needed = (size_t)s.homesNeeded;
    for (size_t i = 0; i + needed <= homes.size(); ++i) {
        const Home& last = homes[i + needed - 1];
        if (last.contig != homes[i].contig || last.centre - homes[i].centre > span) continue;
        if (besideItsPlace(g, prints, v, &homes[i], &homes[i] + needed, s)) continue;
        bool homeAtAnEnd = false;
        for (size_t k = i; k < i + needed; ++k)
            homeAtAnEnd = homeAtAnEnd || atAnEnd(places[homes[k].print], extents, s.endReach);
        if (selfAtAnEnd && homeAtAnEnd) continue;
        return last.contig;
    }
    return 0;
}

} // namespace

std::vector<int> findChimeras(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                              const ClonePlaces& places, const std::vector<int>& buriedIn,
                              const MapSettings& s) {
    const int n = (int)prints.size();
    std::vector<int> from((size_t)n, 0);
    // Homes are sought among the placed clones that are not buried: they
    // cover every place of the map a few times over, at a fifth of the
    // cost of all clones.
    std::vector<char> home((size_t)n, 0);
    for (int v = 0; v < n; ++v)
        home[v] = places[v].contig > 0 && buriedIn[v] < 0;
    BandIndex index(prints, home);
    const int lastPosition = (int)index.start.size() - 2;
    std::vector<int> matched((size_t)n, 0);
    std::vector<int64_t> seenFor((size_t)n, -1);
    std::vector<int> touched;
    int64_t stamp = 0;
    // A window of 2 t + 1 positions holds bands of 2 t + 1 / 4600 of the
    // clones per band of a clone, some 10% at 35 bands and tolerance 7;
    // a band held by more than commonBandFactor times that is common.
    double bands = 0;
    for (int v = 0; v < n; ++v)
        if (home[v]) bands += (double)prints[v].bands.size();
    const double perWindow = bands * (2 * s.tolerance + 1) / (double)NORM_SCALE_LENGTH;
    const size_t commonBand = (size_t)(s.commonBandFactor * perWindow) + 1;
    int largest = 0;
    for (const Fingerprint& f : prints)
        largest = std::max(largest, (int)f.bands.size());
    // The fewest matches that can score within the cutoff: most clones
    // touched fall short of it and are never scored.
    const SharedBandsNeeded needed(s.tolerance, s.homeCutoff, largest);
    const std::vector<Extent> extents = contigExtents(places);
    std::vector<std::vector<int>> byContig = clonesByContig(places);
    // Leads are looked up within half the tolerance, where most true
    // matches lie (the gel noise of two bands), at half the cost.
    const int leadWindow = std::max(1, s.tolerance / 2);
    for (int v = 0; v < n; ++v) {
        const ClonePlace& self = places[v];
        if (self.contig == 0) continue;
        std::vector<int> foreign;
        // Bands that many clones share (of the cloning vector) say nothing
        // of where a piece comes from.
        for (int b : foreignBands(g, prints, v, buriedIn, s.tolerance))
            if (index.holders(b - s.tolerance, b + s.tolerance) <= commonBand) foreign.push_back(b);
        const int nf = (int)foreign.size();
        if (nf < s.fewestForeign || nf < s.leastForeignShare * prints[v].bands.size()) continue;

        // Leads: clones of the index holding nearly enough of the foreign
        // bands. Each is looked at with the clones around it, buried ones
        // too, which become homes when they hold enough of them.
        touched.clear();
        for (int b : foreign) {
            ++stamp; // each clone counts once per foreign band
            const int low = std::max(0, b - leadWindow), high = std::min(lastPosition, b + leadWindow);
            for (size_t k = index.start[(size_t)low]; k < index.start[(size_t)high + 1]; ++k) {
                const int w = index.prints[k];
                if (seenFor[w] == stamp) continue;
                seenFor[w] = stamp;
                if (matched[w]++ == 0) touched.push_back(w);
            }
        }
        const double length = (double)(self.right - self.left);
        std::vector<int> leads;
        for (int w : touched) {
            const int m = matched[w];
            matched[w] = 0;
            const ClonePlace& other = places[w];
            if (w == v || aroundItself(self, other, length)) continue;
            if (m + s.leadSlack >= needed(nf, (int)prints[w].bands.size())) leads.push_back(w);
        }
        std::vector<Home> homes;
        for (int w : leads) {
            const ClonePlace& lead = places[w];
            for (int u : clonesAround(byContig[(size_t)lead.contig], places, centreOf(lead), length)) {
                const ClonePlace& other = places[u];
                if (u == v || seenFor[u] == -stamp - 1 || aroundItself(self, other, length)) continue;
                seenFor[u] = -stamp - 1; // looked at once per clone v
                const int nw = (int)prints[u].bands.size();
                const int m = bandsHeld(foreign, prints[u].bands, s.tolerance);
                if (m >= needed(nf, nw) && sulstonScore(m, nf, nw, s.tolerance) <= s.homeCutoff)
                    homes.push_back({other.contig, centreOf(other), u});
            }
        }
        ++stamp;
        if ((int)homes.size() >= s.homesNeeded) from[v] = placeOfHomes(g, prints, v, homes, length, places, extents, s);
    }
    return from;
}
