// Coords and NormFac: one lane's mapping between gel positions and the
// standard scale (or, for a size factor, the natural log of the fragment
// size), built from calibration pairs; and readNormFacs, which builds the
// factors of every lane from the project's norm-fac file.
#ifndef ZE_NORMFAC_H
#define ZE_NORMFAC_H

#include <iosfwd>

#include "zeAccum.h"
#include "zeArray.h"
#include "zeCoords.h"
#include "zeMystring.h"
#include "zeScale.h"

const float NO_POSITION = -9999;

void swap(float& a, float& b);
void swap(int& a, int& b);

class NormFac {
  public:
    NormFac();
    NormFac(const NormFac& o);
    NormFac& operator=(const NormFac& o);
    ~NormFac();

    // Builds the mapping; nonlinear must be set first.
    void initFrom(dp_Accum<Coords>& src);
    // Standard position of gel position g, or NO_POSITION outside the
    // calibrated range widened by half a percent.
    float normaliseBand(float g);
    // Gel position of standard position s (no range check).
    float normToGel(float s);
    dp_Array<float> getGelX();
    void dumpPairs(std::ostream& os);

    int normLength;
    dp_Accum<Coords> pairs;
    dp_Array<float> fwdNorm;
    dp_Array<float> fwdGel;
    dp_Array<float> fwdD2;
    dp_Array<float> invNorm;
    dp_Array<float> invGel;
    dp_Array<float> invD2;
    int gelLow;
    int gelHigh;
    bool nonlinear;
};

// Reads the norm-fac file: false when it cannot be opened; every other
// failure prints an "ERROR: " line and ends the process with status 1.
// (zeNormFacFile.h and zeNormFacBuild.h read it without ending anything.)
bool readNormFacs(int laneCount, int markerStep, int laneIdFactor, const dbString& path,
                  bool linear, bool verbose, bool* haveSizes, dp_Array<NormFac>* normFacs,
                  dp_Array<NormFac>* sizeFacs);

#endif
