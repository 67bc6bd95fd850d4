// Straightforward spline, splint and normTrace (see referenceResampling.h).
// The mix of float and double arithmetic is the one the step's outputs
// depend on; keep every expression as it stands.
#include "referenceResampling.h"

#include <math.h>

#include "zeArray.h"
#include "zeSpline.h"

namespace reference {

void spline(float* x, float* y, int n, float yp1, float ypn, float* y2) {
    if (n < 2) {
        for (int i = 0; i < n; i++)
            y2[i] = 0;
        return;
    }
    dp_Array<float> u(0, n - 2);

    if (yp1 > 9.9e29) {
        y2[0] = 0;
        u[0] = 0;
    } else {
        y2[0] = -0.5;
        u[0] = (3.0 / (x[1] - x[0])) * ((y[1] - y[0]) / (x[1] - x[0]) - yp1);
    }

    for (int i = 1; i <= n - 2; i++) {
        if (fabsf(x[i + 1] - x[i - 1]) < 1e-6 || fabsf(x[i + 1] - x[i]) < 1e-6 ||
            fabsf(x[i] - x[i - 1]) < 1e-6) {
            u[i] = 1000000;
            y2[i] = y2[i - 1];
            continue;
        }
        float sig = (x[i] - x[i - 1]) / (x[i + 1] - x[i - 1]);
        float p = sig * y2[i - 1] + 2.0;
        y2[i] = (sig - 1.0) / p;
        u[i] = (y[i + 1] - y[i]) / (x[i + 1] - x[i]) - (y[i] - y[i - 1]) / (x[i] - x[i - 1]);
        u[i] = (6.0 * u[i] / (x[i + 1] - x[i - 1]) - sig * u[i - 1]) / p;
    }

    double qn, un;
    if (ypn > 9.9e29) {
        qn = 0;
        un = 0;
    } else {
        qn = 0.5;
        un = (3.0 / (x[n - 1] - x[n - 2])) * (ypn - (y[n - 1] - y[n - 2]) / (x[n - 1] - x[n - 2]));
    }
    y2[n - 1] = (un - qn * u[n - 2]) / (qn * y2[n - 2] + 1.0);

    for (int k = n - 2; k >= 0; k--)
        y2[k] = y2[k] * y2[k + 1] + u[k];
}

void splint(float* xa, float* ya, float* y2a, int n, float x, float* y) {
    if (n < 2) {
        *y = n == 1 ? ya[0] : 0;
        return;
    }
    int klo = 0;
    int khi = n - 1;
    while (khi - klo > 1) {
        int k = (khi + klo) / 2;
        if (xa[k] > x)
            khi = k;
        else
            klo = k;
    }
    float h = xa[khi] - xa[klo];
    if (h == 0) nrerror("Bad XA input to routine SPLINT");
    float a = (xa[khi] - x) / h;
    float b = (x - xa[klo]) / h;
    *y = a * ya[klo] + b * ya[khi] +
         ((a * a * a - a) * y2a[klo] + (b * b * b - b) * y2a[khi]) * (h * h) / 6.0;
}

namespace {

float truncWhole(float v) {
    if (!(v == v)) return 0;
    if (v >= 2147483648.0f || v <= -2147483648.0f) return v;
    return (float)(int)v;
}

enum Outside { EXTEND_EDGES, ZERO_OUTSIDE };

template <class Sample>
void resample(const Sample* trace, float* out, int len, NormFac& fac, Outside outside) {
    int gFrom = fac.gelLow > 0 ? fac.gelLow : 0;
    int gTo = fac.gelHigh < len - 1 ? fac.gelHigh : len - 1;
    int room = gTo >= gFrom ? gTo - gFrom + 1 : 0;
    dp_Array<float> position(0, room - 1);
    dp_Array<float> intensity(0, room - 1);

    int count = 0;
    float prev = 999999;
    for (int g = gFrom; g <= gTo; g++) {
        float s = fac.normaliseBand((float)g);
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

} // namespace reference
