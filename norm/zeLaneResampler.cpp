#include "zeLaneResampler.h"

#include <math.h>
#include <stdint.h>
#include <string.h>

#include "zeRowVectors.h"
#include "zeSpline.h"
#include "zeSplineTerms.h"

#if defined(__x86_64__) && defined(__GNUC__)
// A second copy of the batch code for processors with AVX2, chosen at run
// time: the same operations, on wider registers.
#define ZE_ROWS_AVX2 1
#endif

namespace {

const int ROW_ALIGNMENT = 64; // bytes, the alignment of the widest row vector

// Truncation toward zero, stored as a float. Floats beyond the int range
// are whole already; NaN (only from corrupt calibration) becomes 0.
float truncWhole(float v) {
    if (!(v == v)) return 0;
    if (v >= 2147483648.0f || v <= -2147483648.0f) return v;
    return (float)(int)v;
}

template <class F> struct RowInts;
template <> struct RowInts<Rows4f> { typedef Rows4i Type; };
template <> struct RowInts<Rows8f> { typedef Rows8i Type; };

// truncWhole of every element, without branches.
template <class F> ZE_ROWS_INLINE F truncWholeRows(const F& v) {
    typedef typename RowInts<F>::Type I;
    I inRange = (v < 2147483648.0f) & (v > -2147483648.0f); // false for NaN as well
    F safe = (F)((I)v & inRange);
    F whole = __builtin_convertvector(__builtin_convertvector(safe, I), F);
    F kept = (F)((I)v & (I)(v == v)); // NaN becomes +0
    return (F)(((I)whole & inRange) | ((I)kept & ~inRange));
}

// The samples of one gel position in W consecutive rows, as a vector.
template <class F, class Sample> struct RowSamples;
template <> struct RowSamples<Rows4f, unsigned char> {
    typedef unsigned char Type __attribute__((vector_size(4)));
};
template <> struct RowSamples<Rows8f, unsigned char> {
    typedef unsigned char Type __attribute__((vector_size(8)));
};
template <> struct RowSamples<Rows4f, short> {
    typedef short Type __attribute__((vector_size(8)));
};
template <> struct RowSamples<Rows8f, short> {
    typedef short Type __attribute__((vector_size(16)));
};

// The samples at `at` (one per row, consecutive) as floats: zero-extended
// 8-bit and sign-extended 16-bit samples, exact either way.
template <class F, class Sample> ZE_ROWS_INLINE F loadRows(const Sample* at) {
    typename RowSamples<F, Sample>::Type v;
    memcpy(&v, at, sizeof v);
    // Through int, which the processor converts a whole vector at a time.
    return __builtin_convertvector(__builtin_convertvector(v, typename RowInts<F>::Type), F);
}

// One batch of rows in H vectors F side by side, point i of vector h at
// index i * H + h of y and u; rows beyond rowCount repeat the first and are
// not stored. The rows are first laid across (gel position by gel
// position, all rows of the batch side by side), so that a point's samples
// are one load. The forward pass of the spline set-up reads the intensities
// as it goes and carries each vector's left slope and u; the
// back-substitution overwrites u with y2; then every evaluated position
// takes its interval and weights from the tables. The independent vectors
// let the processor overlap their division chains.
template <class F, int H, class Sample>
ZE_ROWS_INLINE void resampleBatch(const LaneTables& t, const RowWorkspace& w,
                                  const Sample* const* batchRows, float* const* outs,
                                  int rowCount) {
    const int width = sizeof(F) / sizeof(float);
    const int lanes = H * width;
    Sample* across = reinterpret_cast<Sample*>(w.samples);
    for (int r = 0; r < lanes; r++) {
        const Sample* row = batchRows[r < rowCount ? r : 0] + t.gelFrom;
        for (int j = 0; j < t.gelCount; j++)
            across[(size_t)j * lanes + r] = row[j];
    }
    F* y = reinterpret_cast<F*>(w.intensity);
    F* u = reinterpret_cast<F*>(w.work);
    const int* g = t.gelIndex.data();
    int n = t.count;
    // Samples of vector h at gel position gel; vector h of point i.
    auto rowsAt = [&](int gel, int h) {
        return across + (size_t)(gel - t.gelFrom) * lanes + h * width;
    };
    auto at = [](int i, int h) { return (size_t)i * H + h; };

    F slopeLeft[H], uPrev[H], yCur[H];
    for (int h = 0; h < H; h++) {
        y[at(0, h)] = loadRows<F>(rowsAt(g[0], h));
        y[at(1, h)] = loadRows<F>(rowsAt(g[1], h));
        slopeLeft[h] = splineSlope(splineGap(y[at(0, h)], y[at(1, h)]), t.gap[0]);
        uPrev[h] = u[at(0, h)] = F{}; // natural lower end
        yCur[h] = y[at(1, h)];
    }
    for (int i = 1; i <= n - 2; i++) {
        float gap = t.gap[i], span = t.span[i], sig = t.sig[i], pivot = t.pivot[i];
        bool degenerate = t.degenerate[i];
        for (int h = 0; h < H; h++) {
            F next = loadRows<F>(rowsAt(g[i + 1], h));
            y[at(i + 1, h)] = next;
            F slopeRight = splineSlope(splineGap(yCur[h], next), gap);
            if (degenerate)
                uPrev[h] = F{} + splineDegenerateU();
            else
                uPrev[h] = splineU(splineSlopeChange(slopeRight, slopeLeft[h]), span, sig, uPrev[h],
                                   pivot);
            u[at(i, h)] = uPrev[h];
            slopeLeft[h] = slopeRight;
            yCur[h] = next;
        }
    }
    // Natural upper end: qn = un = 0. uPrev holds u[n-2].
    F y2Next[H];
    for (int h = 0; h < H; h++)
        u[at(n - 1, h)] = y2Next[h] = splineLastY2(0.0, 0.0, uPrev[h], t.forwardY2[n - 2]);
    for (int k = n - 2; k >= 0; k--) {
        float forward = t.forwardY2[k];
        for (int h = 0; h < H; h++)
            u[at(k, h)] = y2Next[h] = splineBackStep(forward, y2Next[h], u[at(k, h)]);
    }

    const F* y2 = u;
    const LaneTables::Point* points = t.points.data() - t.first;
    for (int p = t.first; p <= t.last; p++) {
        const LaneTables::Point& e = points[p];
        for (int h = 0; h < H; h++) {
            size_t lo = at(e.lo, h), hi = at(e.lo + 1, h);
            F v = truncWholeRows(splintValue(e.a, e.b, y[lo], y[hi], e.cubicA, e.cubicB, y2[lo],
                                             y2[hi], e.hSquared));
            int stored = rowCount - h * width < width ? rowCount - h * width : width;
            for (int r = 0; r < stored; r++)
                outs[h * width + r][p] = v[r];
        }
    }
}

// Up to MAX_ROWS rows in vectors of four (all the baseline instruction
// set has) or, on AVX2, eight rows: as few vectors as hold them.
template <class Sample, bool avx2>
ZE_ROWS_INLINE void resampleRowsInBatch(const LaneTables& t, const RowWorkspace& w,
                                        const Sample* const* rows, float* const* outs,
                                        int rowCount) {
    if (avx2 && rowCount > 8)
        resampleBatch<Rows8f, 2>(t, w, rows, outs, rowCount);
    else if (avx2 && rowCount > 4)
        resampleBatch<Rows8f, 1>(t, w, rows, outs, rowCount);
    else if (rowCount > 12)
        resampleBatch<Rows4f, 4>(t, w, rows, outs, rowCount);
    else if (rowCount > 8)
        resampleBatch<Rows4f, 3>(t, w, rows, outs, rowCount);
    else if (rowCount > 4)
        resampleBatch<Rows4f, 2>(t, w, rows, outs, rowCount);
    else
        resampleBatch<Rows4f, 1>(t, w, rows, outs, rowCount);
}

template <class Sample>
void resampleBatchBaseline(const LaneTables& t, const RowWorkspace& w, const Sample* const* rows,
                           float* const* outs, int rowCount) {
    resampleRowsInBatch<Sample, false>(t, w, rows, outs, rowCount);
}

#if ZE_ROWS_AVX2
template <class Sample>
__attribute__((target("avx2"))) void resampleBatchAvx2(const LaneTables& t, const RowWorkspace& w,
                                                       const Sample* const* rows,
                                                       float* const* outs, int rowCount) {
    resampleRowsInBatch<Sample, true>(t, w, rows, outs, rowCount);
}
#endif

bool baselineOnly = false;

template <class Sample>
void resampleBatchHere(const LaneTables& t, const RowWorkspace& w, const Sample* const* rows,
                       float* const* outs, int rowCount) {
#if ZE_ROWS_AVX2
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2 && !baselineOnly) {
        resampleBatchAvx2(t, w, rows, outs, rowCount);
        return;
    }
#endif
    resampleBatchBaseline(t, w, rows, outs, rowCount);
}

// The standard position of every gel position gFrom .. gTo, as
// fac.normaliseBand gives it. These positions lie inside the calibrated
// range, so its range check passes; with the spline method and ascending
// abscissae the spline is walked instead of bisected, with splint's terms.
void standardPositions(NormFac& fac, int gFrom, int gTo, float* out) {
    int n = fac.pairs.nelem();
    const float* xa = fac.fwdGel.getData();
    const float* ya = fac.fwdNorm.getData();
    const float* y2a = fac.fwdD2.getData();
    // Beyond 2^24 a gel position is not exact as a float.
    bool walk = fac.nonlinear && n >= 2 && fac.fwdGel.nelem() == n && gFrom >= fac.gelLow &&
                gTo <= fac.gelHigh && gTo < (1 << 24);
    for (int i = 0; walk && i + 1 < n; i++)
        if (!(xa[i] < xa[i + 1])) walk = false;
    if (!walk) {
        for (int g = gFrom; g <= gTo; g++)
            out[g - gFrom] = fac.normaliseBand((float)g);
        return;
    }
    int klo = 0;
    for (int g = gFrom; g <= gTo; g++) {
        float x = (float)g;
        while (klo < n - 2 && xa[klo + 1] <= x)
            klo++;
        int khi = klo + 1;
        float h = splineGap(xa[klo], xa[khi]);
        float a = splintWeightLow(xa[khi], x, h);
        float b = splintWeightHigh(x, xa[klo], h);
        out[g - gFrom] = splintValue(a, b, ya[klo], ya[khi], splintCubicWeight(a),
                                     splintCubicWeight(b), y2a[klo], y2a[khi], splintSquare(h));
    }
}

template <class T> T* aligned(std::vector<T>& storage) {
    uintptr_t at = reinterpret_cast<uintptr_t>(storage.data());
    return reinterpret_cast<T*>((at + ROW_ALIGNMENT - 1) & ~(uintptr_t)(ROW_ALIGNMENT - 1));
}

} // namespace

void LaneResampler::useBaselineInstructions(bool baseline) {
    baselineOnly = baseline;
}

void LaneResampler::prepare(NormFac& fac, int len) {
    LaneTables& t = lane;
    // Only gel positions inside both the calibrated range and the trace
    // are looked at; the others could not be recorded anyway.
    int gFrom = fac.gelLow > 0 ? fac.gelLow : 0;
    int gTo = fac.gelHigh < len - 1 ? fac.gelHigh : len - 1;
    int room = gTo >= gFrom ? gTo - gFrom + 1 : 0;
    t.gelFrom = gFrom;
    t.gelCount = room;
    t.gelIndex.resize(room);
    t.position.resize(room);
    standard.resize(room);
    standardPositions(fac, gFrom, gTo, standard.data());

    int count = 0;
    float prev = 999999;
    for (int g = gFrom; g <= gTo; g++) {
        float s = standard[g - gFrom];
        // Written so that a NaN position is dropped as well.
        if (!(s >= 0 && s < NORM_SCALE_LENGTH)) continue;
        if (fabsf(s - prev) < 1e-6) continue;
        t.position[count] = s;
        t.gelIndex[count] = g;
        count++;
        prev = s;
    }
    t.count = count;
    t.badBracket = false;
    if (count == 0) {
        t.first = 0;
        t.last = -1;
        return;
    }
    if (t.position[0] > t.position[count - 1]) {
        for (int i = 0, j = count - 1; i < j; i++, j--) {
            swap(t.position[i], t.position[j]);
            swap(t.gelIndex[i], t.gelIndex[j]);
        }
    }
    // Recorded positions lie in [0, NORM_SCALE_LENGTH), so these do too.
    t.first = (int)t.position[0];
    t.last = (int)t.position[count - 1];
    if (t.last < t.first) swap(t.first, t.last);

    prepareSpline();
    prepareEvaluation();
}

// The forward pass of spline() over the abscissae alone: natural lower end
// (y2[0] = 0), degenerate knots keep the previous y2.
void LaneResampler::prepareSpline() {
    LaneTables& t = lane;
    int n = t.count;
    const float* x = t.position.data();
    t.degenerate.assign(n, 0);
    t.sig.assign(n, 0);
    t.pivot.assign(n, 0);
    t.forwardY2.assign(n, 0);
    t.gap.assign(n, 0);
    t.span.assign(n, 0);
    for (int i = 0; i + 1 < n; i++)
        t.gap[i] = splineGap(x[i], x[i + 1]);
    t.forwardY2[0] = 0;
    for (int i = 1; i <= n - 2; i++) {
        if (splineKnotDegenerate(x[i - 1], x[i], x[i + 1])) {
            t.degenerate[i] = 1;
            t.forwardY2[i] = t.forwardY2[i - 1];
            continue;
        }
        t.sig[i] = splineSig(x[i - 1], x[i], x[i + 1]);
        t.pivot[i] = splinePivot(t.sig[i], t.forwardY2[i - 1]);
        t.forwardY2[i] = splineForwardY2(t.sig[i], t.pivot[i]);
        t.span[i] = splineGap(x[i - 1], x[i + 1]);
    }
}

// The interval splint's bisection finds for every evaluated position, and
// the weights there. Ascending abscissae (the usual case) are walked
// forward, which finds the same interval; a non-monotone mapping can leave
// them unordered, and then the bisection itself decides.
void LaneResampler::prepareEvaluation() {
    LaneTables& t = lane;
    int n = t.count;
    const float* xa = t.position.data();
    t.points.resize(t.last - t.first + 1);
    if (n < 2) return;
    bool ascending = true;
    for (int i = 0; i + 1 < n; i++)
        if (!(xa[i] < xa[i + 1])) ascending = false;

    int walk = 0;
    for (int p = t.first; p <= t.last; p++) {
        float x = (float)p;
        int klo = 0;
        if (ascending) {
            while (walk < n - 2 && xa[walk + 1] <= x)
                walk++;
            klo = walk;
        } else {
            klo = splintBracket(xa, n, x);
        }
        int khi = klo + 1;
        LaneTables::Point& e = t.points[p - t.first];
        e.lo = klo;
        float h = splineGap(xa[klo], xa[khi]);
        if (h == 0) {
            t.badBracket = true;
            h = 1; // never used: resampling ends the program first
        }
        e.a = splintWeightLow(xa[khi], x, h);
        e.b = splintWeightHigh(x, xa[klo], h);
        e.cubicA = splintCubicWeight(e.a);
        e.cubicB = splintCubicWeight(e.b);
        e.hSquared = splintSquare(h);
    }
}

void LaneResampler::fillOutside(float* out, bool extendEdges) const {
    float below = extendEdges ? out[lane.first] : 0;
    float above = extendEdges ? out[lane.last] : 0;
    for (int p = 0; p < lane.first; p++)
        out[p] = below;
    for (int p = lane.last + 1; p < NORM_SCALE_LENGTH; p++)
        out[p] = above;
}

template <class Sample>
void LaneResampler::resampleRows(const Sample* const* rows, float* const* outs, int rowCount,
                                 bool extendEdges) {
    if (rowCount <= 0) return;
    if (lane.count == 0) {
        for (int i = 0; i < rowCount; i++)
            for (int p = 0; p < NORM_SCALE_LENGTH; p++)
                outs[i][p] = 0;
        return;
    }
    if (lane.count == 1) {
        // A single point: the spline is that constant, at its one position.
        for (int i = 0; i < rowCount; i++)
            outs[i][lane.first] = truncWhole((float)rows[i][lane.gelIndex[0]]);
    } else {
        if (lane.badBracket) nrerror("Bad XA input to routine SPLINT");
        // Room for a batch: one vector of floats per point and the rows laid
        // across, aligned; it only grows, so a lane's batches reuse it.
        size_t side = rowCount <= 4 ? 4 : rowCount <= 8 ? 8 : MAX_ROWS;
        size_t floats = (size_t)lane.count * side + ROW_ALIGNMENT / sizeof(float);
        size_t bytes = (size_t)lane.gelCount * side * sizeof(short) + ROW_ALIGNMENT;
        if (intensity.size() < floats) intensity.resize(floats);
        if (work.size() < floats) work.resize(floats);
        if (samples.size() < bytes) samples.resize(bytes);
        RowWorkspace w = {aligned(samples), aligned(intensity), aligned(work)};
        for (int done = 0; done < rowCount; done += MAX_ROWS) {
            int batch = rowCount - done < MAX_ROWS ? rowCount - done : MAX_ROWS;
            resampleBatchHere(lane, w, rows + done, outs + done, batch);
        }
    }
    for (int i = 0; i < rowCount; i++)
        fillOutside(outs[i], extendEdges);
}

void LaneResampler::resample(const unsigned char* row, float* out) {
    resampleRows(&row, &out, 1, true);
}

void LaneResampler::resample(const unsigned char* const* rows, float* const* outs, int rowCount) {
    resampleRows(rows, outs, rowCount, true);
}

void LaneResampler::resample(const short* trace, float* out) {
    resampleRows(&trace, &out, 1, false);
}

void LaneResampler::resample(const short* const* traces, float* const* outs, int traceCount) {
    resampleRows(traces, outs, traceCount, false);
}
