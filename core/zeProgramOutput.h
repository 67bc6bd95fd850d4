// The outputs a program names on its command line: each replaced only when
// complete, and its failure left for the program to report in its own line.
#ifndef ZE_PROGRAMOUTPUT_H
#define ZE_PROGRAMOUTPUT_H

#include <string>

#include "zeWriteCheck.h"

// The file at `path`, or standard output where `path` is empty and
// `orStandard` is set; no output at all where it is empty otherwise.
CheckedOutput openOutput(const std::string& path, bool orStandard);

// Writes `bytes` and finishes the output; on failure `error` says why.
bool writeOutput(CheckedOutput& out, const std::string& bytes, std::string& error);

#endif
