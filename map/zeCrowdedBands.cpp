#include "zeCrowdedBands.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "zeLayout.h"
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
        missOnScale[(size_t)position] = std::log1p(-bandChance(position));
}

double CrowdedBands::bandChance(int position) const {
    const int low = (int)std::max<long>((long)position - tolerance, INT_MIN);
    const int high = (int)std::min<long>((long)position + tolerance, INT_MAX);
    const double near = (double)library.within(low, high);
    const double window = 2.0 * tolerance / (2.0 * tolerance + 1);
    return std::min(1.0, near / (double)library.count() * window);
}

double CrowdedBands::missLog(int position) const {
    if (position >= 0 && position < NORM_SCALE_LENGTH) return missOnScale[(size_t)position];
    return std::log1p(-bandChance(position));
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

namespace {

// Each clone's partners among the pairs that passed, ascending, with the
// pair's centre offset.
using PartnerOffsets = std::vector<std::vector<std::pair<int, double>>>;

double pairOffset(const std::vector<Fingerprint>& prints, const PairScore& p) {
    return centreOffset((int)prints[(size_t)p.first].bands.size(),
                        (int)prints[(size_t)p.second].bands.size(), p.shared);
}

// Whether at least `least` clones pair with both of p's, and p's offset is
// within `slack` of the sum or the difference of their two: the third
// clone lies between them or beyond one of them.
bool witnessed(const PartnerOffsets& partners, const PairScore& p, double offset, int least,
               double slack) {
    const auto& a = partners[(size_t)p.first];
    const auto& b = partners[(size_t)p.second];
    int agreeing = 0;
    for (size_t i = 0, j = 0; i < a.size() && j < b.size();) {
        if (a[i].first < b[j].first) {
            ++i;
        } else if (b[j].first < a[i].first) {
            ++j;
        } else {
            const double x = a[i].second, y = b[j].second;
            const double off =
                std::min(std::fabs(offset - std::fabs(x - y)), std::fabs(offset - (x + y)));
            if (off <= slack && ++agreeing >= least) return true;
            ++i, ++j;
        }
    }
    return false;
}

} // namespace

CrowdedSelection crowdedPassing(const CrowdedBands& crowded, const std::vector<Fingerprint>& prints,
                                std::vector<PairScore> pairs, double cutoff,
                                const CrowdedWitnesses& witnesses) {
    CrowdedSelection chosen;
    if (!crowded.crowdingKnown()) {
        chosen.pairs = std::move(pairs);
        return chosen;
    }
    std::vector<char> passed(pairs.size());
    // Partners only of the clones of pairs set aside: a library that
    // sets none aside keeps no more than the flags.
    std::vector<char> asked(prints.size(), 0);
    bool anySetAside = false;
    for (size_t k = 0; k < pairs.size(); ++k) {
        const PairScore& p = pairs[k];
        passed[k] = crowded.passes(prints[(size_t)p.first].bands, prints[(size_t)p.second].bands,
                                   p.shared, cutoff);
        if (passed[k]) continue;
        anySetAside = true;
        asked[(size_t)p.first] = asked[(size_t)p.second] = 1;
    }
    PartnerOffsets partners(anySetAside && witnesses.least > 0 ? prints.size() : 0);
    for (size_t k = 0; k < pairs.size() && !partners.empty(); ++k) {
        const PairScore& p = pairs[k];
        if (!passed[k]) continue;
        const double offset = pairOffset(prints, p);
        if (asked[(size_t)p.first]) partners[(size_t)p.first].push_back({p.second, offset});
        if (asked[(size_t)p.second]) partners[(size_t)p.second].push_back({p.first, offset});
    }
    for (auto& list : partners)
        std::sort(list.begin(), list.end());
    // Only pairs that passed are witnesses: a restored pair vouches for no
    // other, so that restoring does not chain along the set-aside pairs.
    size_t kept = 0;
    for (size_t k = 0; k < pairs.size(); ++k) {
        if (!passed[k]) {
            ++chosen.setAside;
            if (witnesses.least <= 0 ||
                !witnessed(partners, pairs[k], pairOffset(prints, pairs[k]), witnesses.least,
                           witnesses.offsetSlack))
                continue;
            ++chosen.restored;
        }
        pairs[kept++] = pairs[k];
    }
    pairs.resize(kept);
    chosen.pairs = std::move(pairs);
    return chosen;
}
