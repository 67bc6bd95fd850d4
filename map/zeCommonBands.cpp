#include "zeCommonBands.h"

#include <algorithm>

namespace {

// Bands within the tolerance of each position.
std::vector<long> bandWindows(const std::vector<Fingerprint>& prints, int tolerance) {
    std::vector<long> prefix(NORM_SCALE_LENGTH + 1, 0);
    for (const Fingerprint& f : prints)
        for (int b : f.bands)
            if (b >= 0 && b < NORM_SCALE_LENGTH) ++prefix[(size_t)b + 1];
    for (int p = 0; p < NORM_SCALE_LENGTH; ++p)
        prefix[(size_t)p + 1] += prefix[(size_t)p];
    std::vector<long> window(NORM_SCALE_LENGTH);
    for (int p = 0; p < NORM_SCALE_LENGTH; ++p) {
        int low = std::max(0, p - tolerance), high = std::min(NORM_SCALE_LENGTH - 1, p + tolerance);
        window[(size_t)p] = prefix[(size_t)high + 1] - prefix[(size_t)low];
    }
    return window;
}

} // namespace

std::vector<BandRange> commonBandRanges(const std::vector<Fingerprint>& prints, int tolerance,
                                        double leastShare) {
    const std::vector<long> window = bandWindows(prints, tolerance);
    const double limit = leastShare * (double)prints.size();
    std::vector<char> crowded(NORM_SCALE_LENGTH, 0);
    std::vector<long> around;
    for (int p = 0; p < NORM_SCALE_LENGTH; ++p) {
        int low = std::max(0, p - COMMON_BAND_BASELINE);
        int high = std::min(NORM_SCALE_LENGTH - 1, p + COMMON_BAND_BASELINE);
        around.assign(window.begin() + low, window.begin() + high + 1);
        std::nth_element(around.begin(), around.begin() + (long)around.size() / 2, around.end());
        long usual = around[around.size() / 2];
        crowded[(size_t)p] = (double)(window[(size_t)p] - usual) > limit && window[(size_t)p] > 1;
    }
    std::vector<BandRange> common;
    for (int p = 0; p < NORM_SCALE_LENGTH;) {
        if (!crowded[(size_t)p]) {
            ++p;
            continue;
        }
        // The run's middle: the windows that reach over a narrow crowd lie
        // evenly either side of it.
        int first = p;
        while (p < NORM_SCALE_LENGTH && crowded[(size_t)p])
            ++p;
        int best = (first + p - 1) / 2;
        BandRange r{std::max(0, best - tolerance), std::min(NORM_SCALE_LENGTH - 1, best + tolerance)};
        // Two runs a little apart can reach into each other's tolerance.
        if (!common.empty() && r.low <= common.back().high)
            common.back().high = r.high;
        else
            common.push_back(r);
    }
    return common;
}

std::vector<Fingerprint> withoutBandsIn(const std::vector<Fingerprint>& prints,
                                        const std::vector<BandRange>& ranges) {
    std::vector<char> masked(NORM_SCALE_LENGTH, 0);
    for (const BandRange& r : ranges)
        for (int q = r.low; q <= r.high; ++q)
            masked[(size_t)q] = 1;
    std::vector<Fingerprint> out = prints;
    for (Fingerprint& f : out)
        f.bands.erase(std::remove_if(f.bands.begin(), f.bands.end(),
                                     [&](int b) {
                                         return b >= 0 && b < NORM_SCALE_LENGTH && masked[(size_t)b];
                                     }),
                      f.bands.end());
    return out;
}
