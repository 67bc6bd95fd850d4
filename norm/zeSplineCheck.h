// Whether splint() can evaluate a spline at every abscissa: its bisection
// ends on one interval per abscissa, and an interval between two equal
// knots has no width, where splint ends the program (nrerror). Knots that
// are equal but that no abscissa's bisection ends between do no harm (in
// ascending knots, any pair but the first two or the last two).
#ifndef ZE_SPLINECHECK_H
#define ZE_SPLINECHECK_H

// The lower index of an interval of zero width that the bisection over
// xa[0 .. n-1] reaches for some abscissa (-inf and +inf included), or -1
// when there is none. Fewer than two knots are never bisected.
int splintRefusedInterval(const float* xa, int n);

#endif
