// Coords: one calibration pair, a gel position and where it lies on the
// standard scale (or, for a size pair, the natural log of the fragment size).
#ifndef ZE_COORDS_H
#define ZE_COORDS_H

struct Coords {
    float norm;
    float gel;
};

#endif
