#include "zeLibChromosomes.h"

#include <algorithm>

#include "zeToolArgs.h"

Chromosomes equalChromosomes(int64_t genome, long count) {
    Chromosomes c;
    for (long k = 0; k <= count; ++k)
        c.bounds.push_back((int64_t)((double)genome * (double)k / (double)count));
    c.bounds.back() = genome;
    return c;
}

size_t chromosomeOf(const Chromosomes& c, int64_t at) {
    size_t k = (size_t)(std::upper_bound(c.bounds.begin(), c.bounds.end(), at) - c.bounds.begin());
    return std::min(k == 0 ? 0 : k - 1, c.count() - 1);
}

std::string chromosomeName(size_t k) {
    return "chr" + std::to_string(k + 1);
}

Clone placeCloneOnOneChromosome(Rng& rng, double mean, double sd, const Chromosomes& c) {
    const int64_t genome = c.bounds.back();
    if (c.count() == 1) return placeClone(rng, mean, sd, genome);
    // A clone that fits nowhere in this many draws means chromosomes of
    // about a clone's length: a command line to refuse, not to loop on.
    const int MOST_DRAWS = 10000;
    for (int draw = 0; draw < MOST_DRAWS; ++draw) {
        Clone clone = placeClone(rng, mean, sd, genome);
        if (chromosomeOf(c, clone.first.start) == chromosomeOf(c, clone.first.end - 1)) return clone;
    }
    failUsage("chromosomes of " + std::to_string((long long)c.length(0)) +
              " bases are too short for clones of mean length " +
              std::to_string((long long)mean));
}
