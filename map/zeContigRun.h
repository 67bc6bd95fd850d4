// The whole of zeContig behind its main: command line, reading the bands
// files, building the map and writing its table.
#ifndef ZE_CONTIGRUN_H
#define ZE_CONTIGRUN_H

// Returns the exit status: 0 when everything was read and written, 1 after
// one "ERROR: " line on standard error.
int runContig(int argc, char** argv);

#endif
