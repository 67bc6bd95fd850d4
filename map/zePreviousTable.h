// The contig table of an earlier build (zeContigTable.h), read to carry
// its contig numbers over to a new one (zeContigNames.h). Only what names
// a clone across builds, its name and gel number, and its contig are
// kept; every row is checked, so that a file that is not such a table is
// refused rather than half used.
#ifndef ZE_PREVIOUSTABLE_H
#define ZE_PREVIOUSTABLE_H

#include <string>
#include <vector>

struct PreviousRow {
    int contig = 0; // 0: in no contig
    std::string clone, gel;
};

// False with `error` set (the text of an ERROR line, without "ERROR: "):
// "couldn't read '<path>': <reason>", or "<path>:<line>: <what>" for a
// bad header or row. Windows line ends and blank lines at the end are
// accepted.
bool readPreviousTable(const std::string& path, std::vector<PreviousRow>& rows, std::string& error);

#endif
