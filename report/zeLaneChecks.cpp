#include "zeLaneChecks.h"

#include <algorithm>
#include <cmath>

namespace {

// +1 rising, -1 falling, 0 equal or NaN.
int direction(float from, float to) {
    if (to > from) return 1;
    if (to < from) return -1;
    return 0;
}

// Whole gel positions are enough for a range of ordinary length; very long
// ranges (only from corrupt calibration) are sampled more sparsely.
const long MAX_SAMPLED_POSITIONS = 200000;

} // namespace

bool hasSizeFactor(StepData& d, int lane) {
    return d.haveSizes && d.sizeFacs(lane).pairs.nelem() >= 2;
}

int firstPairOutOfOrder(const dp_Accum<Coords>& pairs, bool mustRise) {
    int n = pairs.nelem();
    // A pair that is no number is out of any order.
    for (int i = 0; i < n; i++)
        if (!std::isfinite(pairs[i].gel) || !std::isfinite(pairs[i].norm)) return i;
    if (n < 2) return -1;
    int gelWay = mustRise ? 1 : direction(pairs[0].gel, pairs[1].gel);
    int normWay = mustRise ? 1 : direction(pairs[0].norm, pairs[1].norm);
    for (int i = 1; i < n; i++) {
        if (direction(pairs[i - 1].gel, pairs[i].gel) != gelWay || gelWay == 0) return i;
        if (direction(pairs[i - 1].norm, pairs[i].norm) != normWay || normWay == 0) return i;
    }
    return -1;
}

Monotony mappingMonotony(NormFac& fac) {
    Monotony m;
    if (fac.pairs.nelem() < 2) return m;
    double low = fac.gelLow, high = fac.gelHigh;
    long span = (long)(high - low);
    double step = span > MAX_SAMPLED_POSITIONS ? (high - low) / MAX_SAMPLED_POSITIONS : 1.0;

    std::vector<float> at;
    for (double g = low; g <= high; g += step)
        at.push_back((float)g);
    at.push_back((float)high);
    for (int i = 0; i < fac.pairs.nelem(); i++) {
        float g = fac.pairs[i].gel;
        if (g >= low && g <= high) at.push_back(g);
    }
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());

    std::vector<float> value(at.size());
    for (size_t i = 0; i < at.size(); i++)
        value[i] = fac.normaliseBand(at[i]);
    int way = direction(value.front(), value.back());
    if (way == 0) {
        m.monotone = false;
        m.foldAt = at.front();
        return m;
    }
    for (size_t i = 1; i < at.size(); i++) {
        // A flat step is no fold; a step back or a NaN is.
        int d = direction(value[i - 1], value[i]);
        bool nan = !(value[i] == value[i]) || !(value[i - 1] == value[i - 1]);
        if (d == -way || nan) {
            m.monotone = false;
            m.foldAt = at[i - 1];
            return m;
        }
    }
    return m;
}

bool isMarkerLane(const ProjInfo& p, int lane) {
    return p.markerrepeat >= 1 && lane % p.markerrepeat == 0;
}

std::vector<LaneCheck> checkLanes(StepData& d) {
    std::vector<LaneCheck> checks;
    const ProjInfo& p = d.project;
    for (int l = 0; l < p.lanenumber; l++) {
        LaneCheck c;
        c.lane = l;
        c.marker = isMarkerLane(p, l);
        NormFac& norm = d.normFacs(l);
        if (c.marker) {
            c.badPair = firstPairOutOfOrder(norm.pairs, !norm.nonlinear);
            if (hasSizeFactor(d, l))
                c.badSizePair = firstPairOutOfOrder(d.sizeFacs(l).pairs, false);
        }
        c.standard = mappingMonotony(norm);
        if (hasSizeFactor(d, l)) c.size = mappingMonotony(d.sizeFacs(l));
        c.beyondTrace = norm.pairs.nelem() > 0 && (norm.gelLow < 0 || norm.gelHigh >= d.rowLength);
        c.uncalibrated = norm.pairs.nelem() < 2;
        checks.push_back(c);
    }
    return checks;
}
