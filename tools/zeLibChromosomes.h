// The simulated genome as chromosomes of equal length laid end to end.
// Genome coordinates stay those of the whole genome; a chromosome is a
// stretch of it, and no clone is placed across two (a chimeric clone's
// second piece may lie on another chromosome, as real chimeras do).
#ifndef ZE_LIBCHROMOSOMES_H
#define ZE_LIBCHROMOSOMES_H

#include <cstdint>
#include <string>
#include <vector>

#include "zeLibClone.h"

// Chromosome k (from 0) spans [bounds[k], bounds[k + 1]); bounds[0] is 0
// and the last bound is the genome length.
struct Chromosomes {
    std::vector<int64_t> bounds;
    size_t count() const { return bounds.size() - 1; }
    int64_t start(size_t k) const { return bounds[k]; }
    int64_t length(size_t k) const { return bounds[k + 1] - bounds[k]; }
};

Chromosomes equalChromosomes(int64_t genome, long count);

// The chromosome holding genome position `at` (0 <= at < genome).
size_t chromosomeOf(const Chromosomes& c, int64_t at);

// chr1, chr2, ... for k = 0, 1, ...
std::string chromosomeName(size_t k);

// A clone placed as placeClone places it, drawn again until it lies on one
// chromosome: clones stay uniform within each chromosome. Ends the program
// with an ERROR line if a clone keeps failing to fit (chromosomes barely
// longer than a clone).
Clone placeCloneOnOneChromosome(Rng& rng, double mean, double sd, const Chromosomes& c);

#endif
