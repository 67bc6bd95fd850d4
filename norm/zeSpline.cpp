// spline: second derivatives of the cubic spline through (x[i], y[i]),
// by the tridiagonal decomposition and back-substitution. The mix of float
// and double arithmetic is deliberate: results are later truncated to
// integers, so every rounding step has to stay where it is.
#include "zeSpline.h"

#include <math.h>

#include "zeArray.h"

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
        // Near-coincident knots would divide by (almost) zero.
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
