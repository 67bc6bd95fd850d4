// normTrace: resamples one lane trace onto the standard scale of
// NORM_SCALE_LENGTH positions through a natural spline over standard
// position. out must hold NORM_SCALE_LENGTH floats; every one is written.
#ifndef ZE_NORMTRACE_H
#define ZE_NORMTRACE_H

#include "zeNormFac.h"

// len is the number of elements of trace; gel positions outside 0..len-1
// are never read.
void normTrace(unsigned char* trace, float* out, int len, NormFac& fac);
void normTrace(short* trace, float* out, int len, NormFac& fac);

#endif
