// Reading the bands file that zeStep5 writes (<gelnumber>.bands): per named
// sample a header of nine blanks and three fields, each after one blank:
// the clone name, the band count and the gel number (empty for a project
// without one), then one standard position per line, ascending, then "-1".
// A position is any whole number from 0 (past the scale's end too, where
// the step extrapolates). Windows line ends, blanks around a position or
// "-1" and blank lines at the end of the file are accepted; a UTF-8
// byte-order mark at the start of the file is skipped with a warning.
#ifndef ZE_BANDSFILE_H
#define ZE_BANDSFILE_H

#include <istream>
#include <string>
#include <vector>

#include "zeFingerprint.h"

// Appends every block of `in` to `out`, numbered 1, 2, ... (ordinal). On
// bad input returns false with `error` set to the text of one ERROR line,
// "<name>:<line>: <what>" (without "ERROR: "), and leaves `out`
// holding the blocks read before the bad one. Input that is read but
// suspect appends one line "WARNING: ..." each to `warnings`, when given.
bool readBands(std::istream& in, const std::string& name, std::vector<Fingerprint>& out,
               std::string& error, std::vector<std::string>* warnings = nullptr);

// readBands on the file at path; a file that cannot be opened or read is an
// error too ("couldn't read '<path>': <reason>").
bool readBandsFile(const std::string& path, std::vector<Fingerprint>& out, std::string& error,
                   std::vector<std::string>* warnings = nullptr);

// Appends f as one block of the format, byte for byte as zeStep5 writes it
// (zeBandsFileWrite.cpp). readBands gives it back as it was, its ordinal
// aside, when its bands ascend and its clone name starts with no blank and
// holds no line end.
void appendBandsBlock(std::string& out, const Fingerprint& f);

#endif
