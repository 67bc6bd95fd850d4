// RawBand and loadRawBands: the bands found in every sample of the gel.
#ifndef ZE_RBLOAD_H
#define ZE_RBLOAD_H

#include <string>

#include "zeAccum.h"
#include "zeArray.h"

struct RawBand {
    int lane;  // sample index: lane * dyenumber + dye
    float position;
    float value1;
    float value2;
    int kind;  // only kind 1 is normalised
};

// Appends each record of the file to the accumulator of its sample. False
// when the file cannot be opened or its header is wrong.
bool loadRawBands(const char* path, dp_Array<dp_Accum<RawBand> >& bands);

// Sizes bands for `samples` samples and loads the file into it; false with
// error "loading raw-bands" when loadRawBands fails.
bool readRawBandsFile(const char* path, int samples, dp_Array<dp_Accum<RawBand> >& bands,
                      std::string& error);

#endif
