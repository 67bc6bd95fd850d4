#include "zeCrowdedBands.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "zeScale.h"

namespace {

// The chance that at least m of the tosses come up, toss k with chance
// p[k]: the chances of exactly 0 .. m - 1 so far, toss by toss, and what
// reaches m summed as it does (small terms, none cancelling).
double atLeast(const std::vector<double>& p, int m) {
    if (m <= 0) return 1;
    if (m > (int)p.size()) return 0;
    std::vector<double> exactly((size_t)m, 0.0);
    exactly[0] = 1;
    double reached = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const double hit = p[i], miss = 1 - p[i];
        reached += exactly[(size_t)m - 1] * hit;
        for (size_t k = std::min(i + 1, (size_t)m - 1); k >= 1; --k)
            exactly[k] = exactly[k] * miss + exactly[k - 1] * hit;
        exactly[0] *= miss;
    }
    return std::min(1.0, reached);
}

// Chernoff's bound on that chance from the tosses' mean chance: never
// below it, and far within the cutoff for most pairs that pass.
double atLeastBound(const std::vector<double>& p, int m) {
    const double n = (double)p.size();
    if (m <= 0) return 1;
    if (m > (int)p.size()) return 0;
    double sum = 0;
    for (double chance : p)
        sum += chance;
    const double mean = sum / n, x = m / n;
    if (x <= mean) return 1;
    if (mean <= 0) return 0;
    double divergence = x * std::log(x / mean);
    if (x < 1) divergence += (1 - x) * std::log((1 - x) / (1 - mean));
    return std::exp(-n * divergence);
}

} // namespace

CrowdedBands::CrowdedBands(LibraryBands bands, int t) : tolerance(t) {
    if (bands.count() < LEAST_BANDS_FOR_CROWDING) return;
    library = std::move(bands);
    missOnScale.resize(NORM_SCALE_LENGTH);
    for (int position = 0; position < NORM_SCALE_LENGTH; ++position)
        missOnScale[(size_t)position] = std::log1p(-directChance(position));
}

double CrowdedBands::directChance(int position) const {
    const std::vector<int>& p = library.positions;
    const int low = (int)std::max<long>((long)position - tolerance, INT_MIN);
    const int high = (int)std::min<long>((long)position + tolerance, INT_MAX);
    const size_t from = (size_t)(std::lower_bound(p.begin(), p.end(), low) - p.begin());
    const size_t to = (size_t)(std::upper_bound(p.begin(), p.end(), high) - p.begin());
    const double near = (double)(library.below[to] - library.below[from]);
    const double window = 2.0 * tolerance / (2.0 * tolerance + 1);
    return std::min(1.0, near / (double)library.count() * window);
}

double CrowdedBands::bandChance(int position) const { return directChance(position); }

double CrowdedBands::missLog(int position) const {
    if (position >= 0 && position < NORM_SCALE_LENGTH) return missOnScale[(size_t)position];
    return std::log1p(-directChance(position));
}

std::vector<double> CrowdedBands::matchChances(const std::vector<int>& a,
                                               const std::vector<int>& b) const {
    const std::vector<int>& fewer = a.size() <= b.size() ? a : b;
    const double nH = (double)std::max(a.size(), b.size());
    std::vector<double> p;
    p.reserve(fewer.size());
    // A band where every library band lies (q = 1) misses with log 0:
    // -infinity, and p = 1.
    for (int band : fewer)
        p.push_back(-std::expm1(nH * missLog(band)));
    return p;
}

double CrowdedBands::score(const std::vector<int>& a, const std::vector<int>& b, int shared) const {
    if (!crowdingKnown()) return 1;
    return atLeast(matchChances(a, b), shared);
}

bool CrowdedBands::passes(const std::vector<int>& a, const std::vector<int>& b, int shared,
                          double cutoff) const {
    if (!crowdingKnown()) return true;
    const std::vector<double> p = matchChances(a, b);
    return atLeastBound(p, shared) <= cutoff || atLeast(p, shared) <= cutoff;
}

CrowdedBands crowdedBands(const std::vector<Fingerprint>& prints, int tolerance) {
    std::vector<const std::vector<int>*> each;
    each.reserve(prints.size());
    for (const Fingerprint& f : prints)
        each.push_back(&f.bands);
    return CrowdedBands(libraryBands(each), tolerance);
}

std::vector<PairScore> crowdedPassing(const CrowdedBands& crowded,
                                      const std::vector<Fingerprint>& prints,
                                      std::vector<PairScore> pairs, double cutoff) {
    if (!crowded.crowdingKnown()) return pairs;
    const auto fails = [&](const PairScore& p) {
        return !crowded.passes(prints[(size_t)p.first].bands, prints[(size_t)p.second].bands,
                               p.shared, cutoff);
    };
    pairs.erase(std::remove_if(pairs.begin(), pairs.end(), fails), pairs.end());
    return pairs;
}
