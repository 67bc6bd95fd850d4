// splint: evaluates the spline set up by spline() at one abscissa, with
// a, b and h held as floats; nrerror: the numerical error exit.
#include <iostream>

#include "zeExit.h"
#include "zeSpline.h"
#include "zeSplineTerms.h"

void nrerror(const char* message) {
    std::cerr << "ERROR: numerical problem - " << message << std::endl;
    zeExit(1);
}

void splint(float* xa, float* ya, float* y2a, int n, float x, float* y, float* dy, float* d2y) {
    if (n < 2) {
        // A single point is a constant; no point at all gives 0.
        *d2y = 0;
        *dy = 0;
        *y = n == 1 ? ya[0] : 0;
        return;
    }
    // A knot equal to x becomes klo, so x lies in [xa[klo], xa[khi]).
    int klo = 0;
    int khi = n - 1;
    while (khi - klo > 1) {
        int k = (khi + klo) / 2;
        if (xa[k] > x)
            khi = k;
        else
            klo = k;
    }
    float h = splineGap(xa[klo], xa[khi]);
    if (h == 0) nrerror("Bad XA input to routine SPLINT");
    float a = splintWeightLow(xa[khi], x, h);
    float b = splintWeightHigh(x, xa[klo], h);
    *d2y = a * y2a[klo] + b * y2a[khi];
    *dy = (ya[khi] - ya[klo]) / (xa[khi] - xa[klo]) -
          (3.0 * a * a - 1.0) / 6.0 * (xa[khi] - xa[klo]) * y2a[klo] +
          (3.0 * b * b - 1.0) / 6.0 * (xa[khi] - xa[klo]) * y2a[khi];
    *y = splintValue(a, b, ya[klo], ya[khi], splintCubicWeight(a), splintCubicWeight(b), y2a[klo],
                     y2a[khi], splintSquare(h));
}

void splint(float* xa, float* ya, float* y2a, int n, float x, float* y) {
    float dy, d2y;
    splint(xa, ya, y2a, n, x, y, &dy, &d2y);
}
