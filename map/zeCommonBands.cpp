#include "zeCommonBands.h"

#include <algorithm>

std::vector<BandRange> commonBandRanges(const std::vector<Fingerprint>& prints, int tolerance,
                                        double factor) {
    // held[p]: bands at p; window[p]: bands within the tolerance of p.
    std::vector<long> held(NORM_SCALE_LENGTH, 0);
    long bands = 0;
    for (const Fingerprint& f : prints)
        for (int b : f.bands)
            if (b >= 0 && b < NORM_SCALE_LENGTH) {
                ++held[(size_t)b];
                ++bands;
            }
    std::vector<long> prefix(NORM_SCALE_LENGTH + 1, 0);
    for (int p = 0; p < NORM_SCALE_LENGTH; ++p)
        prefix[(size_t)p + 1] = prefix[(size_t)p] + held[(size_t)p];
    auto window = [&](int p) {
        int low = std::max(0, p - tolerance), high = std::min(NORM_SCALE_LENGTH - 1, p + tolerance);
        return prefix[(size_t)high + 1] - prefix[(size_t)low];
    };
    const double limit = factor * (double)bands * (2 * tolerance + 1) / (double)NORM_SCALE_LENGTH;
    std::vector<BandRange> common;
    for (int p = 0; p < NORM_SCALE_LENGTH;) {
        // Two clones sharing a band is no crowd, however small the library.
        if ((double)window(p) <= limit || window(p) < 3) {
            ++p;
            continue;
        }
        int first = p, best = p;
        for (; p < NORM_SCALE_LENGTH && (double)window(p) > limit; ++p)
            if (window(p) > window(best)) best = p;
        BandRange r{first + tolerance, p - 1 - tolerance};
        if (r.low > r.high) r = {best, best};
        common.push_back(r);
    }
    return common;
}

std::vector<Fingerprint> withoutBandsIn(const std::vector<Fingerprint>& prints,
                                        const std::vector<BandRange>& ranges) {
    std::vector<Fingerprint> out = prints;
    if (ranges.empty()) return out;
    auto masked = [&](int b) {
        for (const BandRange& r : ranges)
            if (b >= r.low && b <= r.high) return true;
        return false;
    };
    for (Fingerprint& f : out)
        f.bands.erase(std::remove_if(f.bands.begin(), f.bands.end(), masked), f.bands.end());
    return out;
}
