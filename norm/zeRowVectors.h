// Vectors of floats with one element per trace row, for resampling several
// rows of a lane side by side (GCC/Clang vector extensions). Every operation
// on them is the IEEE operation of its element type, element by element, so
// a row's results are those of plain float code; splineWiden and
// splineNarrow convert each element as a float-to-double conversion and a
// double-to-float assignment do.
#ifndef ZE_ROW_VECTORS_H
#define ZE_ROW_VECTORS_H

// Functions on row vectors are inlined even without optimisation: code
// built for a wider instruction set must not call them out of line, since
// vectors are passed differently there.
#define ZE_ROWS_INLINE inline __attribute__((always_inline))

// GCC and Clang warn that returning vectors wider than the baseline registers
// changed the calling convention; that matters only for calls between
// separately built objects, and these functions are always inlined.
#pragma GCC diagnostic ignored "-Wpsabi"

typedef float Rows4f __attribute__((vector_size(16)));
typedef double Rows4d __attribute__((vector_size(32)));
typedef int Rows4i __attribute__((vector_size(16)));
typedef float Rows8f __attribute__((vector_size(32)));
typedef double Rows8d __attribute__((vector_size(64)));
typedef int Rows8i __attribute__((vector_size(32)));

ZE_ROWS_INLINE Rows4d splineWiden(const Rows4f& v) {
    return __builtin_convertvector(v, Rows4d);
}
ZE_ROWS_INLINE Rows4f splineNarrow(const Rows4d& v) {
    return __builtin_convertvector(v, Rows4f);
}
ZE_ROWS_INLINE Rows8d splineWiden(const Rows8f& v) {
    return __builtin_convertvector(v, Rows8d);
}
ZE_ROWS_INLINE Rows8f splineNarrow(const Rows8d& v) {
    return __builtin_convertvector(v, Rows8f);
}

#endif
