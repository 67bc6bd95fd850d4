#include "zeSplineCheck.h"

#include <math.h>

#include "zeSplineTerms.h"

namespace {

// The bisection of splintBracket between klo and khi, taken by every
// abscissa x with low <= x and, when bounded, x < high: a comparison
// xa[k] > x sends x to the lower half, any other (a NaN knot included)
// to the upper half. Such an x exists when low < high (x = low), or
// always when unbounded (x = +inf at the latest).
int refusedInterval(const float* xa, int klo, int khi, float low, bool bounded, float high) {
    if (bounded && !(low < high)) return -1;
    if (khi - klo <= 1) return splineGap(xa[klo], xa[khi]) == 0 ? klo : -1;
    int k = (khi + klo) / 2;
    float knot = xa[k];
    if (isnan(knot)) return refusedInterval(xa, k, khi, low, bounded, high);
    int below = refusedInterval(xa, klo, k, low, true, bounded && high < knot ? high : knot);
    if (below >= 0) return below;
    return refusedInterval(xa, k, khi, knot > low ? knot : low, bounded, high);
}

} // namespace

int splintRefusedInterval(const float* xa, int n) {
    if (n < 2) return -1;
    return refusedInterval(xa, 0, n - 1, -INFINITY, false, 0);
}
