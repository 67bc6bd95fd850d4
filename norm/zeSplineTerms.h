// The arithmetic of the natural cubic spline, one term per function, shared
// by spline()/splint() and by the lane resampler, which computes the terms
// that depend only on the abscissae once per lane and the others for several
// rows at once. Outputs are truncated to integers, so both must round at
// exactly the same places: each term is written once, here.
//
// Terms that involve the ordinates are templates over F, either float or a
// vector of floats (one element per row; see zeRowVectors.h). Their
// conversions between float and double are spelled out with splineWiden and
// splineNarrow where plain float code would convert implicitly, so the same
// expression performs the same float and double operations on each element.
#ifndef ZE_SPLINE_TERMS_H
#define ZE_SPLINE_TERMS_H

#include <math.h>

// The vector overloads of splineWiden and splineNarrow must be declared
// before the templates below use them.
#include "zeRowVectors.h"

ZE_ROWS_INLINE double splineWiden(float v) {
    return v;
}
ZE_ROWS_INLINE float splineNarrow(double v) {
    return (float)v;
}

// --- spline(): set-up of the second derivatives ---

// Difference of two neighbouring abscissae or ordinates.
template <class F> ZE_ROWS_INLINE F splineGap(const F& lo, const F& hi) {
    return hi - lo;
}

// A knot with a neighbour closer than 1e-6 would divide by (almost) zero.
inline bool splineKnotDegenerate(float xPrev, float x, float xNext) {
    return fabsf(xNext - xPrev) < 1e-6 || fabsf(xNext - x) < 1e-6 || fabsf(x - xPrev) < 1e-6;
}

// The value a degenerate knot puts in u.
inline float splineDegenerateU() {
    return 1000000;
}

// sig = (x[i] - x[i-1]) / (x[i+1] - x[i-1]).
inline float splineSig(float xPrev, float x, float xNext) {
    return (x - xPrev) / (xNext - xPrev);
}

// Pivot of the tridiagonal decomposition: p = sig * y2[i-1] + 2.
inline float splinePivot(float sig, float y2Prev) {
    return splineNarrow(splineWiden(sig * y2Prev) + 2.0);
}

// The forward-pass value of y2[i].
inline float splineForwardY2(float sig, float p) {
    return splineNarrow((splineWiden(sig) - 1.0) / splineWiden(p));
}

// Slope of one interval from its ordinate and abscissa gaps.
template <class F> ZE_ROWS_INLINE F splineSlope(const F& yGap, float xGap) {
    return yGap / xGap;
}

// First value of u[i]: slope to the right minus slope to the left.
template <class F> ZE_ROWS_INLINE F splineSlopeChange(const F& slopeRight, const F& slopeLeft) {
    return slopeRight - slopeLeft;
}

// Final value of u[i]; span = x[i+1] - x[i-1].
template <class F>
ZE_ROWS_INLINE F splineU(const F& slopeChange, float span, float sig, const F& uPrev, float p) {
    return splineNarrow(
        (6.0 * splineWiden(slopeChange) / splineWiden(span) - splineWiden(sig * uPrev)) /
        splineWiden(p));
}

// y2[n-1] from the upper end's qn and un.
template <class F>
ZE_ROWS_INLINE F splineLastY2(double un, double qn, const F& uLast, float y2Before) {
    return splineNarrow((un - qn * splineWiden(uLast)) / (qn * splineWiden(y2Before) + 1.0));
}

// One step of the back-substitution: y2[k] = y2[k] * y2[k+1] + u[k].
template <class F> ZE_ROWS_INLINE F splineBackStep(float y2Forward, const F& y2Next, const F& u) {
    return y2Forward * y2Next + u;
}

// --- splint(): evaluation at x in [xa[klo], xa[khi]] ---

// klo of the interval that holds x, found by bisection over ascending xa
// (n >= 2); khi is klo + 1. A knot equal to x becomes klo, so x lies in
// [xa[klo], xa[khi]), unless it is the last knot.
inline int splintBracket(const float* xa, int n, float x) {
    int klo = 0;
    int khi = n - 1;
    while (khi - klo > 1) {
        int k = (khi + klo) / 2;
        if (xa[k] > x)
            khi = k;
        else
            klo = k;
    }
    return klo;
}

// a, the weight of the lower knot; h = xa[khi] - xa[klo].
inline float splintWeightLow(float xHi, float x, float h) {
    return (xHi - x) / h;
}
// b, the weight of the upper knot.
inline float splintWeightHigh(float x, float xLo, float h) {
    return (x - xLo) / h;
}
// a³ - a (or b³ - b), the weight of a knot's second derivative.
inline float splintCubicWeight(float w) {
    return w * w * w - w;
}
inline float splintSquare(float h) {
    return h * h;
}

// The spline value: a * ya[klo] + b * ya[khi] + ((a³ - a) * y2a[klo] +
// (b³ - b) * y2a[khi]) * h² / 6.
template <class F>
ZE_ROWS_INLINE F splintValue(float a, float b, const F& yLo, const F& yHi, float cubicLo,
                             float cubicHi, const F& y2Lo, const F& y2Hi, float hSquared) {
    return splineNarrow(splineWiden(a * yLo + b * yHi) +
                        splineWiden((cubicLo * y2Lo + cubicHi * y2Hi) * hSquared) / 6.0);
}

#endif
