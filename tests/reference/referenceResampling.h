// The straightforward resampling of a lane trace, kept only as the yardstick
// for the library's optimised paths: one spline set-up and one bisection per
// evaluated position, for every row. Same arguments and results as spline,
// splint and normTrace of the library.
#ifndef ZE_REFERENCE_RESAMPLING_H
#define ZE_REFERENCE_RESAMPLING_H

#include "zeNormFac.h"

namespace reference {

void spline(float* x, float* y, int n, float yp1, float ypn, float* y2);
void splint(float* xa, float* ya, float* y2a, int n, float x, float* y);
void normTrace(unsigned char* trace, float* out, int len, NormFac& fac);
void normTrace(short* trace, float* out, int len, NormFac& fac);

} // namespace reference

#endif
