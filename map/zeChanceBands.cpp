#include "zeChanceBands.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "zeScale.h"

namespace {

long within(const std::vector<int>& bands, int low, int high) {
    return std::upper_bound(bands.begin(), bands.end(), high) -
           std::lower_bound(bands.begin(), bands.end(), low);
}

} // namespace

long LibraryBands::within(int low, int high) const {
    const size_t from = (size_t)(std::lower_bound(positions.begin(), positions.end(), low) -
                                 positions.begin());
    const size_t to = (size_t)(std::upper_bound(positions.begin(), positions.end(), high) -
                               positions.begin());
    return below[to] - below[from];
}

LibraryBands libraryBands(const std::vector<const std::vector<int>*>& clones) {
    std::map<int, long> at;
    for (const std::vector<int>* bands : clones)
        for (int band : *bands)
            ++at[band];
    LibraryBands library;
    for (const auto& [position, count] : at) {
        library.positions.push_back(position);
        library.below.push_back(library.below.back() + count);
    }
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
            chance.library->within(band - t, band + t) - within(chance.contig, band - t, band + t);
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
