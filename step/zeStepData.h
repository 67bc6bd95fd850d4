// StepData: everything one step of zeStep5 works on, owned by the step and
// released when it ends, whichever way it ends.
#ifndef ZE_STEPDATA_H
#define ZE_STEPDATA_H

#include <fstream>

#include "zeAccum.h"
#include "zeArray.h"
#include "zeInfo.h"
#include "zeMystring.h"
#include "zeNormFac.h"
#include "zeRBLoad.h"

struct StepData {
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

    // Traces file: rowCount rows of rowLength bytes per sample. laneRows
    // and laneTraces point into traceBytes and traceValues.
    int rowLength = 0;
    int rowCount = 0;
    dp_Array2<unsigned char*> laneRows;
    dp_Array<short*> laneTraces;
    dp_Array<unsigned char> traceBytes;
    dp_Array<short> traceValues;

    bool haveSizes = false;
    dp_Array<NormFac> normFacs;
    dp_Array<NormFac> sizeFacs;

    dp_Array<dbString> cloneNames;
    dp_Array<dbString> digestNames;
    dp_Array<int> copyNumbers;

    std::ofstream gelFile;
    std::ofstream sizeFile;

    // Set by a stage that printed an "ERROR: " line and let the step go on.
    bool failed = false;

    dp_Array<float> normBuf;
    dp_Array<unsigned char> byteBuf;
    dp_Array<short> shortBuf;
};

#endif
