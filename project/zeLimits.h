// Bounds on project geometry that keep a step within the memory and disk
// of an ordinary machine, whatever the info file says.
#ifndef ZE_LIMITS_H
#define ZE_LIMITS_H

// Lanes times dyes: a real gel has a few hundred samples at most, and every
// lane between marker lanes holds about 70 KB of interpolated calibration.
const long ZE_MAX_SAMPLES = 10000;

// Width and height of a gel strip picture, in pixels.
const int ZE_MAX_IMAGE_SIDE = 100000;

// All gel strip pictures of a step together, in bytes.
const long long ZE_MAX_PICTURE_BYTES = 4LL << 30;

#endif
