// Start-up and finish of lumo_configure: the command line, opening input
// and output, and giving the output the input's permission bits.
#ifndef LUMO_CONFIGURE_FILES_H
#define LUMO_CONFIGURE_FILES_H

#include <cstdio>

#include "zeWriteCheck.h"

struct ConfigureFiles {
    FILE* ifil = nullptr;   // input, open for reading
    CheckedOutput ofil;     // output, created or truncated, written in place
    unsigned ifil_mode = 0; // the input's mode word, taken right after opening it
};

// Checks the command line (exactly an input and an output name, naming two
// different files) and opens both files. On failure prints the message on
// standard error and returns false; nothing has been written then, and an
// existing output is left untouched.
bool openConfigureFiles(int argc, char** argv, ConfigureFiles& files);

// Closes the input, gives the output the input's permission bits and closes
// it. Returns the exit status: 1 (reported) when the bits cannot be set or
// the last of the output cannot be written. An output that is incomplete
// (copied false: the copy loop has reported why, or a failed final write)
// is removed when it is a regular file, and the status is 1.
int finishConfigure(ConfigureFiles& files, const char* output_name, bool copied);

// "Error whilst writing output file (<reason>)", for error number err.
void reportConfigureWriteError(int err);

#endif
