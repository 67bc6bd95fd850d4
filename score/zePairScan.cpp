#include "zePairScan.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "zePairParts.h"
#include "zeSharedBands.h"
#include "zeSulston.h"

namespace {

// Rows handed out per batch: enough work to keep every thread busy, few
// enough that a batch's passing pairs stay small.
const int ROWS_PER_BATCH = 32;

// The fingerprints in one flat array, so that a row's inner loop reads
// memory in order.
struct FlatBands {
    std::vector<int> positions;
    std::vector<size_t> start; // fingerprint k: positions[start[k] .. start[k + 1])
    explicit FlatBands(const std::vector<Fingerprint>& prints) {
        start.push_back(0);
        for (const Fingerprint& f : prints) {
            positions.insert(positions.end(), f.bands.begin(), f.bands.end());
            start.push_back(positions.size());
        }
    }
    const int* bands(int k) const { return positions.data() + start[k]; }
    int count(int k) const { return (int)(start[k + 1] - start[k]); }
};

// Pairs (i, j) of row i for jFrom <= j < jTo.
void scanRow(const FlatBands& flat, const SharedBandsNeeded& needed, const ScanSettings& s, int i,
             int jFrom, int jTo, std::vector<PairScore>& out) {
    const int* a = flat.bands(i);
    int na = flat.count(i);
    for (int j = jFrom; j < jTo; j++) {
        int nb = flat.count(j);
        int need = needed(na, nb);
        if (need > std::min(na, nb)) continue;
        int m = sharedBandsAtLeast(a, na, flat.bands(j), nb, s.tolerance, need);
        if (m < need) continue;
        double score = sulstonScore(m, na, nb, s.tolerance);
        if (!(score <= s.cutoff)) continue;
        out.push_back({i, j, m, score, diceCoefficient(m, na, nb)});
    }
}

} // namespace

PairScore scorePair(const std::vector<Fingerprint>& prints, int first, int second, int tolerance) {
    const std::vector<int>& a = prints[first].bands;
    const std::vector<int>& b = prints[second].bands;
    int na = (int)a.size(), nb = (int)b.size();
    int m = sharedBands(a.data(), na, b.data(), nb, tolerance);
    return {first, second, m, sulstonScore(m, na, nb, tolerance), diceCoefficient(m, na, nb)};
}

bool scanPairs(const std::vector<Fingerprint>& prints, const ScanSettings& s,
               const std::function<bool(const std::vector<PairScore>&)>& take) {
    FlatBands flat(prints);
    int largest = 0;
    for (const Fingerprint& f : prints)
        largest = std::max(largest, (int)f.bands.size());
    SharedBandsNeeded needed(s.tolerance, s.cutoff, largest);

    int n = (int)prints.size();
    PairSlice slice = partOfPairs(n, s.part, s.parts);
    if (slice.begin >= slice.end) return true;
    int firstRow = (int)rowOfPair(n, slice.begin);
    int endRow = (int)rowOfPair(n, slice.end - 1) + 1;
    // The columns of row i within the slice.
    auto columns = [&](int i, int& jFrom, int& jTo) {
        long long before = pairsBeforeRow(n, i);
        jFrom = (int)std::max<long long>(i + 1, i + 1 + slice.begin - before);
        jTo = (int)std::min<long long>(n, i + 1 + slice.end - before);
    };

    int threads = std::max(1, s.threads);
    std::vector<std::vector<PairScore>> rows(ROWS_PER_BATCH);
    std::vector<PairScore> batch;
    for (int first = firstRow; first < endRow; first += ROWS_PER_BATCH) {
        int last = std::min(endRow, first + ROWS_PER_BATCH);
        // Rows of one batch go to the threads one at a time, so that the
        // long early rows and the short late ones even out.
        std::atomic<int> nextRow(first);
        auto work = [&]() {
            for (int i = nextRow++; i < last; i = nextRow++) {
                rows[i - first].clear();
                int jFrom, jTo;
                columns(i, jFrom, jTo);
                scanRow(flat, needed, s, i, jFrom, jTo, rows[i - first]);
            }
        };
        std::vector<std::thread> pool;
        for (int t = 1; t < threads; t++)
            pool.emplace_back(work);
        work();
        for (std::thread& t : pool)
            t.join();
        batch.clear();
        for (int i = first; i < last; i++)
            batch.insert(batch.end(), rows[i - first].begin(), rows[i - first].end());
        if (!batch.empty() && !take(batch)) return false;
    }
    return true;
}
