// zeContig's input: the fingerprints of every bands file, checked as
// zeCompare checks them, in one fixed order that does not depend on the
// order of the files: by clone name, gel number, ordinal, then bands.
#ifndef ZE_CONTIGINPUT_H
#define ZE_CONTIGINPUT_H

#include <string>
#include <vector>

#include "zeFingerprint.h"

// Puts fingerprints in that order.
void sortContigInput(std::vector<Fingerprint>& prints);

// False with `error` set (the text of an ERROR line, without "ERROR: ")
// on the first file that cannot be read; warnings go to standard error.
bool readContigInput(const std::vector<std::string>& files, std::vector<Fingerprint>& prints,
                     std::string& error);

#endif
