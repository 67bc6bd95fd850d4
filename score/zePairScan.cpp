#include "zePairScan.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "zeBinBound.h"
#include "zePairParts.h"
#include "zeSharedBands.h"
#include "zeSulston.h"

namespace {

// Rows per tile, the unit of work of a thread: each block of columns is
// read once per tile and stays in the cache for all its rows.
const int ROWS_PER_TILE = 16;
// Columns per block: their bitsets fit the processor's second-level cache.
const int COLUMNS_PER_BLOCK = 1024;
// Band counts up to this have their needed shared bands tabled per row;
// pairs with a fingerprint of more bands skip the bound and are walked.
const int TABLED_COUNT = SharedBandsNeeded::TABLE_LIMIT;

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

// What every thread reads: the fingerprints, their bins and the pairs of
// the part to scan.
struct ScanInput {
    const ScanSettings& settings;
    FlatBands flat;
    BandBins bins;
    SharedBandsNeeded needed;
    int largest = 0;
    int n = 0;
    PairSlice slice;
    int firstRow = 0, endRow = 0;

    ScanInput(const std::vector<Fingerprint>& prints, const ScanSettings& s, int largestCount)
        : settings(s), flat(prints), bins(prints, s.tolerance),
          needed(s.tolerance, s.cutoff, largestCount), largest(largestCount),
          n((int)prints.size()), slice(partOfPairs(n, s.part, s.parts)) {
        if (slice.begin < slice.end) {
            firstRow = (int)rowOfPair(n, slice.begin);
            endRow = (int)rowOfPair(n, slice.end - 1) + 1;
        }
    }

    // The columns of row i within the slice: [jFrom, jTo).
    void columns(int i, int& jFrom, int& jTo) const {
        long long before = pairsBeforeRow(n, i);
        jFrom = (int)std::max<long long>(i + 1, i + 1 + slice.begin - before);
        jTo = (int)std::min<long long>(n, i + 1 + slice.end - before);
    }
};

// The exact walk and score of the pairs (i, j) for the candidates j of row
// i, in order.
void scoreCandidates(const ScanInput& in, int i, const std::vector<int>& candidates,
                     std::vector<PairScore>& out) {
    const ScanSettings& s = in.settings;
    const int* a = in.flat.bands(i);
    int na = in.flat.count(i);
    for (int j : candidates) {
        int nb = in.flat.count(j);
        int need = in.needed(na, nb);
        if (need > std::min(na, nb)) continue;
        int m = sharedBandsAtLeast(a, na, in.flat.bands(j), nb, s.tolerance, need);
        if (m < need) continue;
        double score = sulstonScore(m, na, nb, s.tolerance);
        if (!(score <= s.cutoff)) continue;
        out.push_back({i, j, m, score, diceCoefficient(m, na, nb)});
    }
}

// The passing pairs of rows [first, last), in order.
void scanTile(const ScanInput& in, int first, int last, std::vector<PairScore>& out) {
    int rows = last - first;
    int words = in.bins.words();
    size_t counts = (size_t)in.largest + 1;
    std::vector<uint64_t> widened((size_t)rows * words);
    std::vector<int> from(rows), to(rows), least(rows, 0);
    // need[r * counts + c]: the shared bands row r needs with a fingerprint
    // of c bands, or c + 1 when it cannot pass; 0 (every pair walked) where
    // either count is past the table.
    std::vector<int> need(rows * counts, 0);
    std::vector<std::vector<int>> candidates(rows);
    int blockFrom = in.n, blockTo = 0;
    for (int r = 0; r < rows; r++) {
        int i = first + r;
        in.columns(i, from[r], to[r]);
        blockFrom = std::min(blockFrom, from[r]);
        blockTo = std::max(blockTo, to[r]);
        in.bins.widened(i, &widened[(size_t)r * words]);
        int na = in.flat.count(i);
        if (na > TABLED_COUNT) continue;
        int* needRow = &need[r * counts];
        // The smallest need that some pair could meet.
        least[r] = in.largest > TABLED_COUNT ? 0 : na + 1;
        for (int c = 0; c <= std::min(in.largest, TABLED_COUNT); c++) {
            int m = in.needed(na, c);
            needRow[c] = m > std::min(na, c) ? c + 1 : m;
            if (m <= std::min(na, c)) least[r] = std::min(least[r], m);
        }
    }
    for (int block = blockFrom; block < blockTo; block += COLUMNS_PER_BLOCK) {
        int blockEnd = std::min(blockTo, block + COLUMNS_PER_BLOCK);
        for (int r = 0; r < rows; r++)
            in.bins.reaching(&widened[(size_t)r * words], &need[r * counts], least[r],
                             std::max(block, from[r]), std::min(blockEnd, to[r]), candidates[r]);
    }
    for (int r = 0; r < rows; r++)
        scoreCandidates(in, first + r, candidates[r], out);
}

// Tiles go to the threads in order; their results come back to the calling
// thread in the same order. At most `slots` tiles are in flight, so memory
// stays bounded however the threads run.
class TileRun {
  public:
    TileRun(const ScanInput& in, int threads)
        : in(in), tiles((in.endRow - in.firstRow + ROWS_PER_TILE - 1) / ROWS_PER_TILE),
          slots(2 * threads), results(slots), done(slots, 0) {
        for (int t = 0; t < std::min(threads, tiles); t++)
            pool.emplace_back([this]() { work(); });
    }

    ~TileRun() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopped = true;
        }
        changed.notify_all();
        for (std::thread& t : pool)
            t.join();
    }

    bool deliver(const std::function<bool(const std::vector<PairScore>&)>& take) {
        std::vector<PairScore> pairs;
        for (int t = 0; t < tiles; t++) {
            {
                std::unique_lock<std::mutex> lock(mutex);
                changed.wait(lock, [&]() { return done[t % slots] != 0; });
                pairs.swap(results[t % slots]);
                results[t % slots].clear();
                done[t % slots] = 0;
                consumed++;
            }
            changed.notify_all();
            if (!pairs.empty() && !take(pairs)) return false;
        }
        return true;
    }

  private:
    void work() {
        std::vector<PairScore> pairs;
        for (;;) {
            int t;
            {
                std::unique_lock<std::mutex> lock(mutex);
                changed.wait(lock, [&]() { return stopped || next >= tiles || next - consumed < slots; });
                if (stopped || next >= tiles) return;
                t = next++;
            }
            int first = in.firstRow + t * ROWS_PER_TILE;
            pairs.clear();
            scanTile(in, first, std::min(in.endRow, first + ROWS_PER_TILE), pairs);
            {
                std::lock_guard<std::mutex> lock(mutex);
                results[t % slots].swap(pairs);
                done[t % slots] = 1;
            }
            changed.notify_all();
        }
    }

    const ScanInput& in;
    int tiles, slots;
    std::vector<std::vector<PairScore>> results;
    std::vector<char> done;
    std::mutex mutex;
    std::condition_variable changed;
    int next = 0, consumed = 0;
    bool stopped = false;
    std::vector<std::thread> pool;
};

} // namespace

PairScore scoreBands(const std::vector<int>& a, const std::vector<int>& b, int tolerance) {
    int na = (int)a.size(), nb = (int)b.size();
    int m = sharedBands(a.data(), na, b.data(), nb, tolerance);
    return {0, 0, m, sulstonScore(m, na, nb, tolerance), diceCoefficient(m, na, nb)};
}

PairScore scorePair(const std::vector<Fingerprint>& prints, int first, int second, int tolerance) {
    PairScore p = scoreBands(prints[first].bands, prints[second].bands, tolerance);
    p.first = first;
    p.second = second;
    return p;
}

bool scanPairs(const std::vector<Fingerprint>& prints, const ScanSettings& s,
               const std::function<bool(const std::vector<PairScore>&)>& take) {
    int largest = 0;
    for (const Fingerprint& f : prints)
        largest = std::max(largest, (int)f.bands.size());
    ScanInput in(prints, s, largest);
    if (in.firstRow >= in.endRow) return true;
    TileRun run(in, std::max(1, s.threads));
    return run.deliver(take);
}

std::vector<PairScore> collectPassingPairs(const std::vector<Fingerprint>& prints,
                                           const ScanSettings& settings) {
    std::vector<PairScore> pairs;
    scanPairs(prints, settings, [&](const std::vector<PairScore>& batch) {
        pairs.insert(pairs.end(), batch.begin(), batch.end());
        return true;
    });
    return pairs;
}
