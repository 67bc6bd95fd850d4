// Natural cubic spline over float arrays: spline() sets up the second
// derivatives, splint() evaluates, nrerror() ends the program on a
// numerical error (exit status 1).
#ifndef ZE_SPLINE_H
#define ZE_SPLINE_H

// Fills y2[0..n-1]. A boundary derivative above 9.9e29 gives a natural end.
void spline(float* x, float* y, int n, float yp1, float ypn, float* y2);
// Value of the spline at x; xa must ascend.
void splint(float* xa, float* ya, float* y2a, int n, float x, float* y);
// Value, first and second derivative at x.
void splint(float* xa, float* ya, float* y2a, int n, float x, float* y, float* dy, float* d2y);
[[noreturn]] void nrerror(const char* message);

#endif
