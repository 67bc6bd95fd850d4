// The whole of zePlace behind its main: command line, reading the map,
// the bands and size files, placing every sequence of the FASTA file as it
// is read, and writing the outputs.
#ifndef ZE_PLACERUN_H
#define ZE_PLACERUN_H

// Returns the exit status: 0 when everything was read and written, 1 after
// one "ERROR: " line on standard error.
int runPlace(int argc, char** argv);

#endif
