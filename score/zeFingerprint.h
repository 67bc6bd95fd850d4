// A fingerprint: the bands of one named sample of one gel, as integer
// positions on the standard scale, ascending.
#ifndef ZE_FINGERPRINT_H
#define ZE_FINGERPRINT_H

#include <string>
#include <vector>

// Length of the standard scale: positions run from 0 to 4599.
const int STANDARD_SCALE_LENGTH = 4600;

struct Fingerprint {
    std::string clone;
    std::string gel;
    std::vector<int> bands; // ascending (equal neighbours allowed)
};

#endif
