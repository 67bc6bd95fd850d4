// The whole of zeCompare behind its main: command line, reading the bands
// files, the pair table on standard output and the optional page.
#ifndef ZE_COMPARERUN_H
#define ZE_COMPARERUN_H

// Returns the exit status: 0 when everything was read and written, 1 after
// one "ERROR: " line on standard error.
int runCompare(int argc, char** argv);

#endif
