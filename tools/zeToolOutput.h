// The files a generator writes, all through the checked writer
// (zeWriteCheck.h): a failure prints "ERROR: couldn't write '<path>':
// <reason>" and removes the unfinished file, so that no half-written
// project or library passes for a whole one.
#ifndef ZE_TOOLOUTPUT_H
#define ZE_TOOLOUTPUT_H

#include <string>

#include "zeWriteCheck.h"

// A file written as it is made; a failure also ends the program with
// status 1.
CheckedOutput toolFile(const std::string& path);

// A file made whole in memory; false after its ERROR line.
bool writeToolFile(const std::string& path, const std::string& bytes);

#endif
