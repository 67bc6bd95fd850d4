#include "zeChanceBands.h"

#include <algorithm>
#include <cmath>

#include "zeScale.h"

namespace {

long within(const std::vector<int>& bands, int low, int high) {
    return std::upper_bound(bands.begin(), bands.end(), high) -
           std::lower_bound(bands.begin(), bands.end(), low);
}

long within(const LibraryBands& bands, int low, int high) {
    auto below = [&](long band) {
        const long i = std::clamp(band - bands.lowest, 0L, (long)bands.below.size() - 1);
        return bands.below[(size_t)i];
    };
    return below((long)high + 1) - below(low);
}

} // namespace

LibraryBands libraryBands(const std::vector<const std::vector<int>*>& clones) {
    LibraryBands library;
    bool any = false;
    int lowest = 0, highest = 0;
    for (const std::vector<int>* bands : clones)
        if (!bands->empty()) {
            lowest = any ? std::min(lowest, bands->front()) : bands->front();
            highest = any ? std::max(highest, bands->back()) : bands->back();
            any = true;
        }
    if (!any) return library;
    library.lowest = lowest;
    library.below.assign((size_t)(highest - lowest) + 2, 0);
    for (const std::vector<int>* bands : clones)
        for (int band : *bands)
            ++library.below[(size_t)(band - lowest) + 1];
    for (size_t i = 1; i < library.below.size(); ++i)
        library.below[i] += library.below[i - 1];
    return library;
}

ChanceBands chanceBands(const LibraryBands& library, std::vector<int> contigBands, int tolerance) {
    ChanceBands c;
    std::sort(contigBands.begin(), contigBands.end());
    if (library.count() - (long)contigBands.size() >= LEAST_BANDS_FOR_CROWDING) {
        c.library = &library;
        c.contig = std::move(contigBands);
    }
    c.tolerance = tolerance;
    return c;
}

int chanceShared(const ChanceBands& chance, const std::vector<int>& a, const std::vector<int>& b) {
    const std::vector<int>& fewer = a.size() <= b.size() ? a : b;
    const double nH = (double)std::max(a.size(), b.size());
    const int t = chance.tolerance;
    if (!chance.library) {
        const double q = 2.0 * t / NORM_SCALE_LENGTH;
        if (q >= 1) return (int)fewer.size();
        return (int)std::lround((double)fewer.size() * -std::expm1(nH * std::log1p(-q)));
    }
    const double outside = (double)(chance.library->count() - (long)chance.contig.size());
    double expected = 0;
    for (int band : fewer) {
        const long near =
            within(*chance.library, band - t, band + t) - within(chance.contig, band - t, band + t);
        const double q = std::min(1.0, (double)near / outside);
        expected += q >= 1 ? 1.0 : -std::expm1(nH * std::log1p(-q));
    }
    return (int)std::lround(expected);
}

int sharedBeyondChance(const ChanceBands& chance, const std::vector<int>& a,
                       const std::vector<int>& b, int shared) {
    const double c = chanceShared(chance, a, b);
    const double nL = (double)std::min(a.size(), b.size()),
                 nH = (double)std::max(a.size(), b.size());
    double k = shared - c;
    for (int round = 0; round < 3 && k > 0 && nL > 0; ++round)
        k = shared - c * (nL - std::min(k, nL)) / nL * (nH - std::min(k, nH)) / nH;
    return (int)std::lround(k);
}
