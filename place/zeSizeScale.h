// Fragment sizes in the standard units of the bands' positions. A band's
// position and its size are read from one peak, so the size file and the
// bands file together show how log size falls along the scale: a least-
// squares line through every band's (position, log size), its i-th
// position (ascending) with its i-th largest size. Sizes are then matched
// in those units at the bands' tolerance, so that -t means one thing for
// both, and an in-silico fragment is a band of the same scale.
#ifndef ZE_SIZESCALE_H
#define ZE_SIZESCALE_H

#include <string>
#include <vector>

#include "zeCloneSizes.h"

struct SizeScale {
    double logAtZero = 0;  // log size at position 0
    double logPerUnit = 0; // below 0: sizes fall as positions rise
    double smallest = 0, largest = 0; // the range of the clones' sizes, bases
    double units(double size) const;  // a size's position on the scale
    bool inRange(double size) const { return size >= smallest && size <= largest; }
};

// False with `error` set when the clones hold fewer than two distinct
// positions with sizes, or when sizes do not fall as positions rise.
bool fitSizeScale(const std::vector<SizedClone>& clones, SizeScale& scale, std::string& error);

#endif
