// NormFac: one lane's mapping between gel positions and the standard scale,
// piecewise-linear over the calibration pairs or a natural cubic spline
// through them (one spline each way, set up once in initFrom).
#include "zeNormFac.h"

#include <ostream>

#include "zeSpline.h"
#include "zeTruncate.h"

void swap(float& a, float& b) {
    float t = a;
    a = b;
    b = t;
}

void swap(int& a, int& b) {
    int t = a;
    a = b;
    b = t;
}

// The piecewise-linear method: the pairs bracketing v by field `from`
// (found by bisection; a pair equal to v becomes the lower one), and the
// line between them evaluated in field `to`. Beyond the end pairs the end
// segment is extended.
static float interpolateLinearly(dp_Accum<Coords>& pairs, float v, float Coords::*from,
                                 float Coords::*to) {
    int lo = 0, hi = pairs.nelem() - 1;
    while (hi > lo + 1) {
        int mid = (lo + hi) / 2;
        if (pairs[mid].*from > v)
            hi = mid;
        else
            lo = mid;
    }
    const Coords& a = pairs[lo];
    const Coords& b = pairs[hi];
    if (a.*from == b.*from) return a.*to;
    return (v - a.*from) / (b.*from - a.*from) * (b.*to - a.*to) + a.*to;
}

// Exchanges a[i] with a[j] and b[i] with b[j], from both ends inwards.
static void reverseTogether(dp_Array<float>& a, dp_Array<float>& b, int n) {
    for (int i = 0, j = n - 1; j > i; i++, j--) {
        swap(a[i], a[j]);
        swap(b[i], b[j]);
    }
}

NormFac::NormFac()
    : normLength(NORM_SCALE_LENGTH), fwdNorm(0, 0), fwdGel(0, 0), fwdD2(0, 0), invNorm(0, 0),
      invGel(0, 0), invD2(0, 0), gelLow(0), gelHigh(0), nonlinear(false) {}

NormFac::NormFac(const NormFac& o) : NormFac() {
    *this = o;
}

NormFac& NormFac::operator=(const NormFac& o) {
    if (this == &o) return *this;
    normLength = o.normLength;
    pairs = o.pairs;
    fwdNorm = o.fwdNorm;
    fwdGel = o.fwdGel;
    fwdD2 = o.fwdD2;
    invNorm = o.invNorm;
    invGel = o.invGel;
    invD2 = o.invD2;
    gelLow = o.gelLow;
    gelHigh = o.gelHigh;
    nonlinear = o.nonlinear;
    return *this;
}

NormFac::~NormFac() {}

void NormFac::initFrom(dp_Accum<Coords>& src) {
    int n = src.nelem();
    if (&src != &pairs) {
        pairs.clear();
        for (int i = 0; i < n; i++)
            pairs.append(src[i]);
    }
    if (n == 0) {
        // No calibration: an empty range that maps nothing.
        gelLow = 0;
        gelHigh = 0;
        return;
    }
    // Only the end pairs set the range.
    gelLow = truncToInt(pairs[0].gel);
    gelHigh = truncToInt(pairs[n - 1].gel);
    if (gelHigh < gelLow) swap(gelLow, gelHigh);

    if (!nonlinear) return;

    fwdNorm.resize(0, n - 1);
    fwdGel.resize(0, n - 1);
    fwdD2.resize(0, n - 1);
    invNorm.resize(0, n - 1);
    invGel.resize(0, n - 1);
    invD2.resize(0, n - 1);
    for (int i = 0; i < n; i++) {
        fwdNorm[i] = invNorm[i] = pairs[i].norm;
        fwdGel[i] = invGel[i] = pairs[i].gel;
    }
    // splint bisects, so each spline needs ascending abscissae.
    if (fwdGel[0] > fwdGel[n - 1]) reverseTogether(fwdGel, fwdNorm, n);
    spline(fwdGel.getData(), fwdNorm.getData(), n, 1e30f, 1e30f, fwdD2.getData());
    if (invNorm[0] > invNorm[n - 1]) reverseTogether(invNorm, invGel, n);
    spline(invNorm.getData(), invGel.getData(), n, 1e30f, 1e30f, invD2.getData());
}

float NormFac::normaliseBand(float g) {
    int n = pairs.nelem();
    if (n == 0) return NO_POSITION;
    // Half a percent of the range, in double; the double difference equals
    // the int one and cannot overflow.
    double margin = ((double)gelHigh - (double)gelLow) * 0.005;
    if (g < gelLow - margin || g > gelHigh + margin) return NO_POSITION;

    if (nonlinear) {
        float y;
        splint(fwdGel.getData(), fwdNorm.getData(), fwdD2.getData(), n, g, &y);
        return y;
    }
    return interpolateLinearly(pairs, g, &Coords::gel, &Coords::norm);
}

float NormFac::normToGel(float s) {
    int n = pairs.nelem();
    if (n == 0) return 0;

    if (nonlinear) {
        float y;
        splint(invNorm.getData(), invGel.getData(), invD2.getData(), n, s, &y);
        return y;
    }
    return interpolateLinearly(pairs, s, &Coords::norm, &Coords::gel);
}

dp_Array<float> NormFac::getGelX() {
    int n = pairs.nelem();
    dp_Array<float> x(0, n - 1);
    for (int i = 0; i < n; i++)
        x[i] = pairs[i].gel;
    return x;
}

void NormFac::dumpPairs(std::ostream& os) {
    for (int i = 0; i < pairs.nelem(); i++)
        os << pairs[i].norm << " " << pairs[i].gel << std::endl;
}
