// Checks of the inputs of the programs that read bands files (zeCompare,
// zeContig) that keep every fingerprint identified and every input safe:
// no file given twice, no output written over an input, and a warning when
// two files carry one gel number.
#ifndef ZE_INPUTCHECKS_H
#define ZE_INPUTCHECKS_H

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "zeFingerprint.h"

// True when a and b are one existing file: the same device and inode, so
// also through a link.
bool sameFile(const std::string& a, const std::string& b);

// Before anything is read: false with `error` set (the text of an ERROR
// line, without "ERROR: ") when two of `files` are one file (same device
// and inode, so also through a link) or when `page` is one of them. Files
// that do not exist (yet) clash with nothing.
bool inputsAreDistinct(const std::vector<std::string>& files, const std::string& page,
                       std::string& error);

// An output named for messages: "the <kind> '<path>'".
struct NamedOutput {
    std::string kind; // "page", "table", ...
    std::string path; // empty: none
};

// The same for several outputs, which must also be distinct files.
bool inputsAreDistinct(const std::vector<std::string>& files,
                       const std::vector<NamedOutput>& outputs, std::string& error);

// The files each gel number was first met in.
class GelNumberFiles {
  public:
    // Notes the gel numbers of prints[from ..], read from `path`, and writes
    // one line "WARNING: ..." to `warnings` for each gel number that an
    // earlier file carried too.
    void add(const std::string& path, const std::vector<Fingerprint>& prints, size_t from,
             std::ostream& warnings);

  private:
    std::map<std::string, std::string> firstFile;
};

#endif
