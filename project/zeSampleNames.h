// The clone and digest names of every sample, and their copy numbers, from
// the project's names file: the file read piece by piece (the step writes
// the gel file's clone lines as it names) or whole.
#ifndef ZE_SAMPLENAMES_H
#define ZE_SAMPLENAMES_H

#include <fstream>
#include <istream>
#include <map>
#include <string>

#include "zeArray.h"
#include "zeMystring.h"
#include "zeNames.h"

// Per sample: its clone and digest names (empty for a sample without a
// clone) and how many earlier samples carry the same two names.
struct SampleNames {
    dp_Array<dbString> cloneNames;
    dp_Array<dbString> digestNames;
    dp_Array<int> copyNumbers;
};

// Names the samples in ascending order, counting clones and earlier
// samples with the same clone and digest names.
class SampleNamer {
  public:
    // Sets cloneNames(s), digestNames(s) and copyNumbers(s) (0 for a sample
    // without a clone). Returns the clone counter value the sample got, or
    // -1 when its status is "-".
    int name(SampleNames& n, int s, const NamesEntry& e);

  private:
    int cloneCounter = 0;
    std::map<std::string, int> seen;  // clone NUL digest -> samples so far
};

// The pieces, each false with error set to its message (without
// "ERROR: "), none ending the process:
// opens path ("can't open <path>");
bool openNamesFile(const char* path, std::ifstream& names, std::string& error);
// reads the header word ("wrong header for names file '<path>'");
bool readNamesHeader(std::istream& names, const char* path, std::string& error);
// reads the next entry ("reading <path>").
bool readNextNamesEntry(std::istream& names, const char* path, NamesEntry& e,
                        std::string& error);

// The whole file at path for `samples` samples: sizes the arrays of n and
// names every sample. False with the message of the first piece that
// failed.
bool readSampleNames(const char* path, int samples, SampleNames& n, std::string& error);

#endif
