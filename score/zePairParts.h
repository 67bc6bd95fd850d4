// The pairs (i, j), i < j, of n fingerprints in scan order, row by row
// (by i, then by j), numbered from 0, and their split into near-equal
// parts: row i holds n - 1 - i pairs, so equal shares of rows would not be
// equal shares of work.
#ifndef ZE_PAIRPARTS_H
#define ZE_PAIRPARTS_H

// The number of pairs in rows 0 .. row - 1 (row <= n).
long long pairsBeforeRow(long long n, long long row);

// The row that holds pair number `pair` (0 <= pair < all pairs).
long long rowOfPair(long long n, long long pair);

// Pair numbers [begin, end).
struct PairSlice {
    long long begin = 0, end = 0;
};

// The part-th (1 .. parts) of `parts` consecutive slices of n fingerprints'
// pairs; the slices differ in size by at most one pair and together cover
// every pair once, in order.
PairSlice partOfPairs(long long n, int part, int parts);

#endif
