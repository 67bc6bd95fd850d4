// The fragment sizes of the clones: the size file zeStep5 writes beside
// each bands file (GEL.sizes beside GEL.bands), in the bands file's format
// with sizes in bases, ascending, one per band. Its blocks must name the
// same clones with the same gel numbers and band counts, in the same
// order, as the bands file's; otherwise the sizes belong to other bands.
#ifndef ZE_CLONESIZES_H
#define ZE_CLONESIZES_H

#include <string>
#include <vector>

#include "zeFingerprint.h"

struct SizedClone {
    Fingerprint print;        // its bands, ordinal from its file
    std::vector<int> sizes;   // ascending, one per band
};

// The size file of a bands file: ".bands" at the end replaced by ".sizes",
// or ".sizes" added.
std::string sizesPathOf(const std::string& bandsPath);

// Appends every clone of every bands file with its sizes; warnings (of
// either reader) go to standard error. False with `error` set (the text
// of an ERROR line, without "ERROR: ") when a file cannot be read or a
// size file is missing or does not match its bands file.
bool readSizedClones(const std::vector<std::string>& bandsFiles, std::vector<SizedClone>& clones,
                     std::string& error);

// The first difference between a bands file's blocks and its size file's,
// or empty: compared by clone, gel and band count, and by number of blocks.
std::string sizesMismatch(const std::vector<Fingerprint>& bands,
                          const std::vector<Fingerprint>& sizes, const std::string& bandsPath,
                          const std::string& sizesPath);

#endif
