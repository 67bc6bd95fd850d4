// Float-to-integer conversions of the step's outputs: every one truncates
// toward zero.
#ifndef ZE_TRUNCATE_H
#define ZE_TRUNCATE_H

// v truncated toward zero. Values beyond the int range saturate and NaN
// gives 0: converting them directly would be undefined.
inline int truncToInt(double v) {
    if (v != v) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return (int)v;
}

// The low 8 bits of v truncated toward zero: -1.0 gives 255, 256.0 gives 0.
inline unsigned char lowByte(float v) {
    return (unsigned char)(truncToInt(v) & 0xff);
}

#endif
