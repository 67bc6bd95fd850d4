// The generators' random numbers: splitmix64, a small generator whose
// sequence is the same with every compiler and library (unlike the standard
// library's distributions), so that one seed gives the same files anywhere.
#ifndef ZE_SPLITMIX_H
#define ZE_SPLITMIX_H

#include <cstdint>

// Advances state and returns the next 64 random bits.
inline uint64_t splitMixNext(uint64_t& state) {
    uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// The seed of stream number `stream` of a run seeded with `seed`: streams
// for separate concerns stay independent, so that drawing more for one
// concern leaves the others' numbers as they were.
inline uint64_t streamSeed(uint64_t seed, uint64_t stream) {
    uint64_t mixer = seed ^ (stream * 0xD1B54A32D192ED03ULL);
    return splitMixNext(mixer);
}

#endif
