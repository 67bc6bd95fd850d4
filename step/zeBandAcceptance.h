// Whether a raw band of a sample reaches the bands and size files, and if
// not, why. The bands file, the per-clone band tables and the report all
// decide it the same way.
#ifndef ZE_BANDACCEPTANCE_H
#define ZE_BANDACCEPTANCE_H

#include <cmath>

#include "zeNormFac.h"
#include "zeRBLoad.h"

enum BandFate {
    BAND_ACCEPTED,
    BAND_OTHER_KIND,        // kind is not 1: never normalised
    BAND_OUTSIDE_RANGE,     // beyond the lane's calibrated range (NO_POSITION)
    BAND_NEGATIVE_POSITION, // inside the range but mapped below 0 (or NaN)
    BAND_NEGATIVE_LOG_SIZE  // fragment size below 1 (or NaN)
};

struct BandVerdict {
    BandFate fate;
    float position; // standard position m; unset for other kinds
    float logSize;  // z: the log size with sizes, 1.0 without; unset for other kinds
};

// A kind-1 band is accepted when m >= 0 and z >= 0, m from the lane's
// standard factor and z from its size factor (sizeFac null: no sizes, z =
// 1.0). Comparisons with NaN fail, so a NaN drops the band.
BandVerdict judgeBand(const RawBand& band, NormFac& normFac, NormFac* sizeFac);

// The fragment size of an accepted band: e^z in double precision, stored
// as a float.
inline float fragmentSizeOf(float logSize) { return (float)std::exp((double)logSize); }

#endif
