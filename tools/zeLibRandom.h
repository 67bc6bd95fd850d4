// The library simulator's random numbers: our own splitmix64, Box-Muller and
// uniform draws (library distributions differ between versions), in one
// stream per concern, so that one seed gives the same files anywhere.
#ifndef ZE_LIBRANDOM_H
#define ZE_LIBRANDOM_H

#include <cmath>
#include <cstdint>

#include "zeSplitMix.h"

class Rng {
  public:
    explicit Rng(uint64_t seed) : state(seed) {}
    uint64_t next() { return splitMixNext(state); }
    // In (0, 1]: never 0, so that its log is finite.
    double uniform() { return (double)((next() >> 11) + 1) * (1.0 / 9007199254740992.0); }
    double exponential(double mean) { return -mean * std::log(uniform()); }
    // Standard normal by Box-Muller, one value per call.
    double gaussian() {
        double r = std::sqrt(-2.0 * std::log(uniform()));
        return r * std::cos(6.283185307179586 * uniform());
    }
    // True with probability p (never for 0, always for 1).
    bool chance(double p) { return uniform() <= p; }
    // A whole number from 0 to n - 1, n at least 1.
    uint64_t below(uint64_t n) {
        uint64_t v = (uint64_t)((double)(next() >> 11) * (1.0 / 9007199254740992.0) * (double)n);
        return v < n ? v : n - 1;
    }

  private:
    uint64_t state;
};

// The first three streams are the error-free model's. Every error draws
// only from streams of its own, and only when it is on: --perfect then
// gives the bytes the error-free model always gave, and switching one
// error on leaves the others' numbers as they were. ADDED_NOISE is the gel
// noise of the fragment bands the error-free model lacks (end fragments,
// the second pieces of chimeric clones).
enum Stream : uint64_t {
    GENOME = 1,
    CLONES,
    NOISE,
    REPEATS,
    CHIMERAS,
    MISSING,
    ADDED_NOISE,
    EXTRA,
    VECTOR,
    SEQUENCE,
    DRAFT,
    MARKERS
};

inline Rng streamFor(uint64_t seed, Stream s) {
    return Rng(streamSeed(seed, s));
}

#endif
