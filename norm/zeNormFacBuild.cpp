#include "zeNormFacBuild.h"

#include <iostream>
#include <sstream>

#include "zeSplineCheck.h"

namespace {

// The abscissae of one of a factor's splines as initFrom lays them out:
// the pairs' field `at` in pair order, reversed when the first exceeds the
// last. Returns the refused interval's pair indices in i and j.
bool splineRefuses(const dp_Accum<Coords>& pairs, float Coords::*at, int& i, int& j) {
    int n = pairs.nelem();
    if (n < 2) return false;
    std::vector<float> x(n);
    for (int k = 0; k < n; k++)
        x[k] = pairs[k].*at;
    bool reversed = x[0] > x[n - 1];
    if (reversed)
        for (int k = 0; k < n; k++)
            x[k] = pairs[n - 1 - k].*at;
    int lo = splintRefusedInterval(x.data(), n);
    if (lo < 0) return false;
    i = reversed ? n - 2 - lo : lo;
    j = i + 1;
    return true;
}

// Empty when the factor of lane `lane` built from pairs can be evaluated
// everywhere; else the message. kind is "standard" or "size".
std::string refusal(const dp_Accum<Coords>& pairs, bool nonlinear, int lane, const char* kind) {
    if (!nonlinear) return "";
    int i = 0, j = 0;
    const char* what = "gel position";
    float Coords::*at = &Coords::gel;
    if (!splineRefuses(pairs, at, i, j)) {
        at = &Coords::norm;
        what = std::string(kind) == "size" ? "log size" : "standard position";
        if (!splineRefuses(pairs, at, i, j)) return "";
    }
    std::ostringstream m;
    m << "lane " << lane << ": " << kind << " pairs " << i << " and " << j << " share the "
      << what << " " << pairs[i].*at << ", where the spline cannot be evaluated";
    return m.str();
}

// Builds fac from pairs; false when checked and refused.
bool build(NormFac& fac, dp_Accum<Coords>& pairs, bool checkSplines, int lane, const char* kind,
           std::string& error) {
    if (checkSplines) {
        error = refusal(pairs, fac.nonlinear, lane, kind);
        if (!error.empty()) return false;
    }
    fac.initFrom(pairs);
    return true;
}

// The standard positions of a factor's own calibrated ends.
void rangeEnds(NormFac& fac, float& lowEnd, float& highEnd) {
    lowEnd = fac.normaliseBand((float)fac.gelLow);
    highEnd = fac.normaliseBand((float)fac.gelHigh);
}

// Pairs for the lane t steps past marker a towards marker b, sampled about
// 1001 times over [lo, hi]. x advances by repeated float addition; the loop
// also ends once the step no longer moves x, so a single-point range gives
// one pair and an empty one (lo > hi) none.
void interpolatePairs(NormFac& a, NormFac& b, float lo, float hi, int t, int markerStep,
                      dp_Accum<Coords>& out) {
    float step = (hi - lo) / 1000;
    for (float x = lo; x <= hi;) {
        float g1 = a.normToGel(x);
        float g2 = b.normToGel(x);
        Coords c;
        c.norm = x;
        c.gel = g1 + (g2 - g1) * t / markerStep;
        out.append(c);
        float next = x + step;
        if (next == x) break;
        x = next;
    }
}

// Lane k, t lanes past marker lane m, from the factors of m and next over
// their common range lo..hi; the verbose line starts with tag.
bool buildBetween(dp_Array<NormFac>& facs, int m, int next, int k, float lo, float hi, int t,
                  int markerStep, bool verbose, bool checkSplines, const char* kind,
                  const char* tag, std::string& error) {
    dp_Accum<Coords> pairs;
    interpolatePairs(facs[m], facs[next], lo, hi, t, markerStep, pairs);
    facs[k].nonlinear = facs[m].nonlinear;
    if (!build(facs[k], pairs, checkSplines, k, kind, error)) return false;
    if (verbose)
        std::cout << tag << t << " " << facs[k].gelLow << " " << facs[k].gelHigh << std::endl;
    return true;
}

} // namespace

bool buildMarkerFactors(std::vector<NormFacBlock>& blocks, int markerStep, bool linear,
                        bool checkSplines, dp_Array<NormFac>& norm, dp_Array<NormFac>& size,
                        bool& haveSizes, std::string& error) {
    bool sizes = false;
    for (size_t b = 0; b < blocks.size(); b++) {
        int l = (int)b * markerStep;
        NormFacBlock& block = blocks[b];
        norm[l].nonlinear = !linear;
        sizes = block.sizes.nelem() > 0;
        size[l].nonlinear = true;
        if (!build(norm[l], block.standard, checkSplines, l, "standard", error)) return false;
        if (sizes && !build(size[l], block.sizes, checkSplines, l, "size", error)) return false;
    }
    haveSizes = sizes;
    return true;
}

bool interpolateLaneFactors(int laneCount, int markerStep, bool haveSizes, bool verbose,
                            bool checkSplines, dp_Array<NormFac>& norm, dp_Array<NormFac>& size,
                            std::string& error) {
    for (int m = 0; m < laneCount - 1; m += markerStep) {
        int next = m + markerStep;
        if (verbose)
            std::cout << "Norm " << m << " " << next << " " << norm[m].gelHigh << " "
                      << norm[next].gelHigh << std::endl;

        float A0, A1, B0, B1;
        rangeEnds(norm[m], A0, A1);
        rangeEnds(norm[next], B0, B1);
        if (A0 > A1) {
            swap(A0, A1);
            swap(B0, B1);
        }
        float E0 = 1, E1 = 0, F0 = 1, F1 = 0;
        if (haveSizes) {
            rangeEnds(size[m], E0, E1);
            rangeEnds(size[next], F0, F1);
            if (E0 > E1) {
                swap(E0, E1);
                swap(F0, F1);
            }
        }

        for (int t = 1; t <= markerStep - 1; t++) {
            int k = m + t;
            if (!buildBetween(norm, m, next, k, A0 > B0 ? A0 : B0, A1 < B1 ? A1 : B1, t,
                              markerStep, verbose, checkSplines, "standard", ".....", error))
                return false;
            if (haveSizes &&
                !buildBetween(size, m, next, k, E0 > F0 ? E0 : F0, E1 < F1 ? E1 : F1, t,
                              markerStep, verbose, checkSplines, "size", " ----", error))
                return false;
        }
    }
    return true;
}

bool buildNormFacs(std::vector<NormFacBlock>& blocks, int laneCount, int markerStep, bool linear,
                   bool& haveSizes, dp_Array<NormFac>& norm, dp_Array<NormFac>& size,
                   std::string& error) {
    haveSizes = false;
    bool sizes = false;
    if (!buildMarkerFactors(blocks, markerStep, linear, true, norm, size, sizes, error))
        return false;
    if (!interpolateLaneFactors(laneCount, markerStep, sizes, false, true, norm, size, error))
        return false;
    haveSizes = sizes;
    return true;
}
