// Entries of a project's names file: one per sample, giving whether the
// sample carries a clone and, if so, its clone and digest names.
#ifndef ZE_NAMES_H
#define ZE_NAMES_H

#include <iosfwd>

#include "zeMystring.h"

struct NamesEntry {
    int lane;        // read and not used
    dbString status; // "-": the sample has no clone
    dbString rest;   // the rest of the line, its last character removed
};

// Reads one entry: an integer, the status word (never sought past a line
// end), one discarded non-blank character and the rest of the line. False
// when the integer, the word or the character could not be read.
bool readNamesEntry(std::istream& in, NamesEntry& e);

// Clone and digest names from an entry's rest: blanks and "/" become "_";
// text before the first double quote is the clone name, text after the
// second the digest name (up to a third). An empty rest gives
// "unnamed_<counter>" and "digest".
void splitNames(const dbString& rest, int cloneCounter, dbString& clone, dbString& digest);

#endif
