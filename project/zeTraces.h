// The traces file: per sample rowCount rows of rowLength bytes (the lane's
// greyscale strip) and the sample's 16-bit trace, made of its first and
// last rows.
#ifndef ZE_TRACES_H
#define ZE_TRACES_H

#include <string>

#include "zeArray.h"

// The traces as read. laneRows and laneTraces point into traceBytes and
// traceValues.
struct GelTraces {
    int rowLength = 0;
    int rowCount = 0;
    dp_Array2<unsigned char*> laneRows;
    dp_Array<short*> laneTraces;
    dp_Array<unsigned char> traceBytes;
    dp_Array<short> traceValues;
};

// Reads the traces file at path for `samples` samples into t. False with
// error (a message that names path) when the file cannot be opened, its
// header cannot be read or its geometry is empty or too large to hold;
// t is then left as it was. Never ends the process.
bool readTraceFile(const char* path, int samples, GelTraces& t, std::string& error);

#endif
