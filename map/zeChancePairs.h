// How many of a library's pairs the build cutoff lets through by chance
// alone: each pair's score is the chance that its bands coincide by
// accident, so among the n (n - 1) / 2 pairs of n fingerprints about that
// many times the cutoff pass without overlapping. One such pair witnessed
// by a third clone joins two places of the genome.
#ifndef ZE_CHANCEPAIRS_H
#define ZE_CHANCEPAIRS_H

#include <cstddef>
#include <string>

double chancePairs(size_t fingerprints, double cutoff);

// A WARNING line where a pair or more is expected to pass by chance, naming
// the cutoff and the count; empty otherwise.
std::string chancePairsWarning(size_t fingerprints, double cutoff);

#endif
