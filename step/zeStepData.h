// StepData: everything one step of zeStep5 works on, owned by the step and
// released when it ends, whichever way it ends.
#ifndef ZE_STEPDATA_H
#define ZE_STEPDATA_H

#include "zeAccum.h"
#include "zeArray.h"
#include "zeInfo.h"
#include "zeMystring.h"
#include "zeNormFac.h"
#include "zeRBLoad.h"
#include "zeSampleNames.h"
#include "zeTraces.h"
#include "zeWriteCheck.h"

// The traces (rowLength, rowCount, laneRows, laneTraces and their storage)
// and the sample names (cloneNames, digestNames, copyNumbers) are held as
// the project's readers fill them, so that the stages name them directly.
struct StepData : GelTraces, SampleNames {
    dbString projectDir;
    dbString mappingName;
    dbString rawBandsPath;
    dbString infoPath;
    dbString tracesPath;
    dbString normFacPath;
    dbString namesPath;
    dbString resultsDir;
    dbString bandFileName;
    dbString gelFileName;
    dbString sizeFileName;

    ProjInfo project;
    int samples = 0;
    dp_Array<dp_Accum<RawBand> > rawBands;

    bool haveSizes = false;
    dp_Array<NormFac> normFacs;
    dp_Array<NormFac> sizeFacs;

    // Not open when the gel file could not be created: the step goes on
    // without it.
    CheckedOutput gelFile;
    CheckedOutput sizeFile;

    // Set by a stage that printed an "ERROR: " line and let the step go on.
    bool failed = false;

    dp_Array<float> normBuf;
    dp_Array<unsigned char> byteBuf;
    dp_Array<short> shortBuf;
};

#endif
