// Checks of each lane's calibration that the text outputs never show: a
// marker block listed out of order, a mapping that bends back on itself
// (so that band order flips), and a calibrated range reaching beyond the
// trace the lane was measured on.
#ifndef ZE_LANECHECKS_H
#define ZE_LANECHECKS_H

#include <vector>

#include "zeNormFac.h"
#include "zeStepData.h"

// Index of the first pair that breaks the order of a marker block, or -1.
// mustRise (the linear method): gel and standard positions both strictly
// rising. Otherwise (the spline) each may run either way, but strictly
// monotone over the whole block, as the spline's bisection needs. A pair
// that is not a finite number is out of order wherever it stands.
int firstPairOutOfOrder(const dp_Accum<Coords>& pairs, bool mustRise);

struct Monotony {
    bool monotone = true;
    float foldAt = 0; // gel position where the mapping first turns back
};

// Whether fac.normaliseBand runs one way over the calibrated range gelLow
// .. gelHigh: evaluated at every whole gel position and at every pair's gel
// position inside the range. A turn, a NaN or a mapping that is constant
// from end to end makes it non-monotone.
Monotony mappingMonotony(NormFac& fac);

struct LaneCheck {
    int lane = 0;
    bool marker = false;
    int badPair = -1;     // first standard pair out of order (marker lanes)
    int badSizePair = -1; // first size pair out of order (marker lanes, with sizes)
    Monotony standard;
    Monotony size;             // with sizes only
    bool beyondTrace = false;  // gelLow < 0 or gelHigh >= rowLength
    bool uncalibrated = false; // fewer than two standard pairs (an interpolated lane
                               // whose marker lanes share no standard range)

    bool warned() const {
        return badPair >= 0 || badSizePair >= 0 || !standard.monotone || !size.monotone ||
               beyondTrace || uncalibrated;
    }
};

bool isMarkerLane(const ProjInfo& p, int lane);

// Whether the lane has a size mapping: the project gives fragment sizes and
// the lane at least two size pairs.
bool hasSizeFactor(StepData& d, int lane);

// One check per lane, in lane order.
std::vector<LaneCheck> checkLanes(StepData& d);

#endif
