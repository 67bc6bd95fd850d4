// spline: second derivatives of the cubic spline through (x[i], y[i]),
// by the tridiagonal decomposition and back-substitution. The mix of float
// and double arithmetic is deliberate: results are later truncated to
// integers, so every rounding step has to stay where it is (the terms live
// in zeSplineTerms.h, shared with the lane resampler).
#include "zeSpline.h"

#include "zeArray.h"
#include "zeSplineTerms.h"

void spline(float* x, float* y, int n, float yp1, float ypn, float* y2) {
    if (n < 2) {
        // No interval to fit: a flat (zero-curvature) answer.
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
        if (splineKnotDegenerate(x[i - 1], x[i], x[i + 1])) {
            u[i] = splineDegenerateU();
            y2[i] = y2[i - 1];
            continue;
        }
        float sig = splineSig(x[i - 1], x[i], x[i + 1]);
        float p = splinePivot(sig, y2[i - 1]);
        y2[i] = splineForwardY2(sig, p);
        u[i] = splineSlopeChange(splineSlope(splineGap(y[i], y[i + 1]), splineGap(x[i], x[i + 1])),
                                 splineSlope(splineGap(y[i - 1], y[i]), splineGap(x[i - 1], x[i])));
        u[i] = splineU(u[i], splineGap(x[i - 1], x[i + 1]), sig, u[i - 1], p);
    }

    double qn, un;
    if (ypn > 9.9e29) {
        qn = 0;
        un = 0;
    } else {
        qn = 0.5;
        un = (3.0 / (x[n - 1] - x[n - 2])) * (ypn - (y[n - 1] - y[n - 2]) / (x[n - 1] - x[n - 2]));
    }
    y2[n - 1] = splineLastY2(un, qn, u[n - 2], y2[n - 2]);

    for (int k = n - 2; k >= 0; k--)
        y2[k] = splineBackStep(y2[k], y2[k + 1], u[k]);
}
