// The norm-fac file parsed into its calibration pairs: one block per marker
// lane (lanes 0, markerStep, 2 x markerStep, ... below the lane count), in
// lane order. Building the lanes' factors from the pairs is the
// normalisation's (zeNormFac.h).
#ifndef ZE_NORMFACFILE_H
#define ZE_NORMFACFILE_H

#include <istream>
#include <string>
#include <vector>

#include "zeAccum.h"
#include "zeCoords.h"
#include "zeMystring.h"

// One marker lane's pairs: standard pairs from every line with at least
// three numbers, size pairs (norm: the natural log of the size) from those
// with four.
struct NormFacBlock {
    dp_Accum<Coords> standard;
    dp_Accum<Coords> sizes;
};

// Every function here is false with error set to its message (without
// "ERROR: ") and never ends the process.

// Every lane must be a marker lane or lie between two of them: markerStep
// at least 1, and lane laneCount - 1 a marker lane.
bool markerLanesFit(int laneCount, int markerStep, std::string& error);

// The header line and the blocks from in, the file at path (named in the
// messages), after markerLanesFit. Each line's lane id must be the marker
// lane times laneIdFactor.
bool parseNormFacs(std::istream& in, const dbString& path, int laneCount, int markerStep,
                   int laneIdFactor, std::vector<NormFacBlock>& blocks, std::string& error);

// markerLanesFit, the file opened ("couldn't open file '<path>'") and parsed.
bool readNormFacFile(const dbString& path, int laneCount, int markerStep, int laneIdFactor,
                     std::vector<NormFacBlock>& blocks, std::string& error);

#endif
