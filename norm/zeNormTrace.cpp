// normTrace: resamples a lane trace onto the standard scale. Every gel
// position of the lane's calibrated range that the trace holds is mapped to
// its standard position; a natural spline of intensity over standard
// position is then evaluated at every whole standard position covered.
#include "zeNormTrace.h"

#include <math.h>

#include "zeArray.h"
#include "zeSpline.h"

namespace {

// Truncation toward zero, stored as a float. Floats beyond the int range
// are whole already; NaN (only from corrupt calibration) becomes 0.
float truncWhole(float v) {
    if (!(v == v)) return 0;
    if (v >= 2147483648.0f || v <= -2147483648.0f) return v;
    return (float)(int)v;
}

enum Outside { EXTEND_EDGES, ZERO_OUTSIDE };

template <class Sample>
void resample(const Sample* trace, float* out, int len, NormFac& fac, Outside outside) {
    // Only gel positions inside both the calibrated range and the trace
    // are looked at; the others could not be recorded anyway.
    int gFrom = fac.gelLow > 0 ? fac.gelLow : 0;
    int gTo = fac.gelHigh < len - 1 ? fac.gelHigh : len - 1;
    int room = gTo >= gFrom ? gTo - gFrom + 1 : 0;
    dp_Array<float> position(0, room - 1);
    dp_Array<float> intensity(0, room - 1);

    int count = 0;
    float prev = 999999;
    for (int g = gFrom; g <= gTo; g++) {
        float s = fac.normaliseBand((float)g);
        // Written so that a NaN position is dropped as well.
        if (!(s >= 0 && s < NORM_SCALE_LENGTH)) continue;
        if (fabsf(s - prev) < 1e-6) continue;
        position[count] = s;
        intensity[count] = (float)trace[g];
        count++;
        prev = s;
    }

    if (count == 0) {
        for (int p = 0; p < NORM_SCALE_LENGTH; p++)
            out[p] = 0;
        return;
    }

    if (position[0] > position[count - 1]) {
        for (int i = 0, j = count - 1; i < j; i++, j--) {
            swap(position[i], position[j]);
            swap(intensity[i], intensity[j]);
        }
    }

    dp_Array<float> d2(0, count - 1);
    spline(position.getData(), intensity.getData(), count, 1e30f, 1e30f, d2.getData());

    // Recorded positions lie in [0, NORM_SCALE_LENGTH), so these do too.
    int first = (int)position[0];
    int last = (int)position[count - 1];
    if (last < first) swap(first, last);

    for (int p = first; p <= last; p++) {
        float v;
        splint(position.getData(), intensity.getData(), d2.getData(), count, (float)p, &v);
        out[p] = truncWhole(v);
    }

    float below = outside == EXTEND_EDGES ? out[first] : 0;
    float above = outside == EXTEND_EDGES ? out[last] : 0;
    for (int p = 0; p < first; p++)
        out[p] = below;
    for (int p = last + 1; p < NORM_SCALE_LENGTH; p++)
        out[p] = above;
}

} // namespace

void normTrace(unsigned char* trace, float* out, int len, NormFac& fac) {
    resample(trace, out, len, fac, EXTEND_EDGES);
}

void normTrace(short* trace, float* out, int len, NormFac& fac) {
    resample(trace, out, len, fac, ZERO_OUTSIDE);
}
