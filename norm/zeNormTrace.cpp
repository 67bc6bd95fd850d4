// normTrace: resamples a lane trace onto the standard scale. Every gel
// position of the lane's calibrated range that the trace holds is mapped to
// its standard position; a natural spline of intensity over standard
// position is then evaluated at every whole standard position covered.
// The work is LaneResampler's, which callers with many rows of one lane
// keep between rows.
#include "zeNormTrace.h"

#include "zeLaneResampler.h"

void normTrace(unsigned char* trace, float* out, int len, NormFac& fac) {
    LaneResampler lane;
    lane.prepare(fac, len);
    lane.resample(trace, out);
}

void normTrace(short* trace, float* out, int len, NormFac& fac) {
    LaneResampler lane;
    lane.prepare(fac, len);
    lane.resample(trace, out);
}
