// splint: evaluates the spline set up by spline() at one abscissa, with
// a, b and h held as floats; nrerror: the numerical error exit.
#include <iostream>

#include "zeError.h"
#include "zeExit.h"
#include "zeSpline.h"
#include "zeSplineTerms.h"

void nrerror(const char* message) {
    printError(std::string("numerical problem - ") + message);
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
    int klo = splintBracket(xa, n, x);
    int khi = klo + 1;
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
