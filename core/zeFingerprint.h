// A fingerprint: the bands of one named sample of one gel, as integer
// positions on the standard scale, ascending.
#ifndef ZE_FINGERPRINT_H
#define ZE_FINGERPRINT_H

#include <string>
#include <vector>

#include "zeScale.h"

struct Fingerprint {
    std::string clone;
    std::string gel;
    std::vector<int> bands; // ascending (equal neighbours allowed)
    int ordinal = 0;        // 1, 2, ...: its place among the fingerprints of its file
};

#endif
