#include "zePairParts.h"

long long pairsBeforeRow(long long n, long long row) {
    // Rows 0 .. row - 1 hold (n - 1) + (n - 2) + ... + (n - row) pairs;
    // one of row and 2n - row - 1 is even, so halve that one first.
    long long other = 2 * n - row - 1;
    return row % 2 == 0 ? row / 2 * other : other / 2 * row;
}

long long rowOfPair(long long n, long long pair) {
    // The last row whose first pair is at or before `pair`.
    long long low = 0, high = n - 1;
    while (low < high) {
        long long mid = low + (high - low + 1) / 2;
        if (pairsBeforeRow(n, mid) <= pair)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

namespace {

// floor(k * total / parts) without overflowing for any int k <= parts.
long long shareEnd(long long total, long long k, long long parts) {
    return k * (total / parts) + k * (total % parts) / parts;
}

} // namespace

PairSlice partOfPairs(long long n, int part, int parts) {
    long long total = n < 2 ? 0 : pairsBeforeRow(n, n);
    PairSlice s;
    s.begin = shareEnd(total, part - 1, parts);
    s.end = shareEnd(total, part, parts);
    return s;
}
