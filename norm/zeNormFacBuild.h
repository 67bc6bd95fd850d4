// The factors of every lane from the norm-fac file's marker blocks
// (zeNormFacFile.h): each marker lane's from its own pairs; the lanes
// between two marker lanes from pairs sampled over the standard range both
// markers cover, with gel positions interpolated by lane distance.
//
// With checkSplines, every factor's pairs are checked before its spline is
// built: a calibration the spline could not evaluate at every position
// (zeSplineCheck.h) makes the build false, with error saying which lane
// and pairs. Without it the build never fails, and such a spline ends the
// program where it is evaluated, as the step has always had it.
#ifndef ZE_NORMFACBUILD_H
#define ZE_NORMFACBUILD_H

#include <string>
#include <vector>

#include "zeArray.h"
#include "zeNormFac.h"
#include "zeNormFacFile.h"

// Marker lanes 0, markerStep, ... from blocks (one each): standard factors
// by the linear method or the spline, size factors by the spline. The last
// block decides about haveSizes.
bool buildMarkerFactors(std::vector<NormFacBlock>& blocks, int markerStep, bool linear,
                        bool checkSplines, dp_Array<NormFac>& norm, dp_Array<NormFac>& size,
                        bool& haveSizes, std::string& error);

// The lanes between the marker lanes below laneCount; verbose writes the
// step's debugging lines to standard output.
bool interpolateLaneFactors(int laneCount, int markerStep, bool haveSizes, bool verbose,
                            bool checkSplines, dp_Array<NormFac>& norm, dp_Array<NormFac>& size,
                            std::string& error);

// Both, checked and silent, into the arrays (one element per lane), for
// readers that must not end the process. The blocks must come from
// parseNormFacs with the same laneCount and markerStep.
bool buildNormFacs(std::vector<NormFacBlock>& blocks, int laneCount, int markerStep, bool linear,
                   bool& haveSizes, dp_Array<NormFac>& norm, dp_Array<NormFac>& size,
                   std::string& error);

#endif
