#include "zeBinBound.h"

#include <algorithm>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ZE_X86_DISPATCH 1
#endif

namespace {

// Counting bits is nearly all of a scan's work, so the processor's own
// instructions for it are used where it has them (picked at run time).

#if defined(ZE_X86_DISPATCH) && !defined(__clang__)
__attribute__((target_clones("popcnt", "default")))
#endif
unsigned portableBounds(const uint64_t* widenedK, const uint64_t* block, const int32_t* crowd,
                        int words, int least, int64_t* bounds) {
    int64_t sum[BandBins::BLOCK];
    for (int s = 0; s < BandBins::BLOCK; s++)
        sum[s] = crowd[s];
    for (int w = 0; w < words; w++)
        for (int s = 0; s < BandBins::BLOCK; s++)
            sum[s] += __builtin_popcountll(widenedK[w] & block[w * BandBins::BLOCK + s]);
    unsigned mask = 0;
    for (int s = 0; s < BandBins::BLOCK; s++) {
        bounds[s] = sum[s];
        mask |= (unsigned)(sum[s] >= least) << s;
    }
    return mask;
}

#ifdef ZE_X86_DISPATCH
__attribute__((target("avx512f,avx512vpopcntdq")))
unsigned wideBounds(const uint64_t* widenedK, const uint64_t* block, const int32_t* crowd,
                    int words, int least, int64_t* bounds) {
    // (The zero-masked form: the plain one trips a false -Wuninitialized.)
    __m512i sum = _mm512_maskz_cvtepi32_epi64(0xFF, _mm256_loadu_si256((const __m256i*)crowd));
    for (int w = 0; w < words; w++) {
        __m512i both = _mm512_and_si512(_mm512_set1_epi64((long long)widenedK[w]),
                                        _mm512_loadu_si512(block + w * BandBins::BLOCK));
        sum = _mm512_add_epi64(sum, _mm512_popcnt_epi64(both));
    }
    _mm512_storeu_si512(bounds, sum);
    return _mm512_cmpge_epi64_mask(sum, _mm512_set1_epi64(least));
}
#endif

BandBins::BlockBounds pickBlockBounds(bool portableOnly) {
#ifdef ZE_X86_DISPATCH
    __builtin_cpu_init();
    if (!portableOnly && __builtin_cpu_supports("avx512f") &&
        __builtin_cpu_supports("avx512vpopcntdq"))
        return wideBounds;
#endif
    (void)portableOnly;
    return portableBounds;
}

} // namespace

BandBins::BandBins(const std::vector<Fingerprint>& prints, int tolerance, bool portableOnly)
    : blockBounds(pickBlockBounds(portableOnly)) {
    width = std::max(1, tolerance);
    int largest = 0;
    for (const Fingerprint& f : prints)
        if (!f.bands.empty()) largest = std::max(largest, f.bands.back());
    binCount = std::min(MAX_BINS, largest / width + 1);
    wordCount = (binCount + 63) / 64;
    size_t padded = (prints.size() + BLOCK - 1) / BLOCK * BLOCK;
    bits.assign(padded * wordCount, 0);
    crowd.assign(padded, 0);
    count.assign(padded, 0);
    for (size_t k = 0; k < prints.size(); k++) {
        size_t base = k / BLOCK * BLOCK * wordCount + k % BLOCK;
        for (int position : prints[k].bands) {
            int bin = binOf(position);
            uint64_t& w = bits[base + (size_t)(bin / 64) * BLOCK];
            uint64_t bit = uint64_t(1) << (bin % 64);
            if (w & bit)
                crowd[k]++;
            else
                w |= bit;
        }
        count[k] = (int32_t)prints[k].bands.size();
    }
}

int BandBins::binOf(int position) const {
    // Negative positions (never read from a bands file) join the first bin.
    return std::min(binCount - 1, std::max(0, position / width));
}

void BandBins::widened(int k, uint64_t* out) const {
    const uint64_t* own = bits.data() + (size_t)k / BLOCK * BLOCK * wordCount + k % BLOCK;
    auto at = [&](int w) { return own[(size_t)w * BLOCK]; };
    for (int w = 0; w < wordCount; w++) {
        uint64_t below = w > 0 ? at(w - 1) >> 63 : 0;
        uint64_t above = w + 1 < wordCount ? at(w + 1) << 63 : 0;
        out[w] = at(w) | (at(w) << 1) | (at(w) >> 1) | below | above;
    }
}

int BandBins::bound(const uint64_t* widenedK, int l) const {
    const uint64_t* own = bits.data() + (size_t)l / BLOCK * BLOCK * wordCount + l % BLOCK;
    int n = crowd[l];
    for (int w = 0; w < wordCount; w++)
        n += __builtin_popcountll(widenedK[w] & own[(size_t)w * BLOCK]);
    return n;
}

void BandBins::reaching(const uint64_t* widenedK, const int* needByCount, int least, int from,
                        int to, std::vector<int>& out) const {
    if (from >= to) return;
    int64_t bounds[BLOCK];
    for (int first = from / BLOCK * BLOCK; first < to; first += BLOCK) {
        unsigned mask = blockBounds(widenedK, bits.data() + (size_t)first * wordCount,
                                    crowd.data() + first, wordCount, least, bounds);
        for (; mask != 0; mask &= mask - 1) {
            int s = __builtin_ctz(mask);
            int l = first + s;
            if (l >= from && l < to && bounds[s] >= needByCount[count[l]]) out.push_back(l);
        }
    }
}
