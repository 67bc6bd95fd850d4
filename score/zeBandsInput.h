// The fingerprints of the bands files a program is given (zeCompare,
// zeContig), read in the order given, each file's warnings told as it is
// read, with a warning for every gel number met in two files.
#ifndef ZE_BANDSINPUT_H
#define ZE_BANDSINPUT_H

#include <ostream>
#include <string>
#include <vector>

#include "zeFingerprint.h"

// Appends the fingerprints of every file to `prints`; the "WARNING: ..."
// lines go to `warnings`, one for each file that holds none. False with `error` set (the text of an ERROR
// line, without "ERROR: ") at the first file that cannot be read.
bool readBandsFiles(const std::vector<std::string>& files, std::vector<Fingerprint>& prints,
                    std::string& error, std::ostream& warnings);

#endif
