// The clone and digest names of every sample, and their copy numbers, from
// the entries of the project's names file. The step writes the gel file's
// clone lines as it names; the report only reads.
#ifndef ZE_SAMPLENAMES_H
#define ZE_SAMPLENAMES_H

#include <istream>
#include <map>
#include <string>

#include "zeNames.h"
#include "zeStepData.h"

// Names the samples of a step in ascending order, counting clones and
// earlier samples with the same clone and digest names.
class SampleNamer {
  public:
    // Sets cloneNames(s), digestNames(s) and copyNumbers(s) (0 for a sample
    // without a clone). Returns the clone counter value the sample got, or
    // -1 when its status is "-".
    int name(StepData& d, int s, const NamesEntry& e);

  private:
    int cloneCounter = 0;
    std::map<std::string, int> seen;  // clone NUL digest -> samples so far
};

// Opens d.namesPath and reads its header. False after "ERROR: wrong header
// for names file '...'"; a file that cannot be opened ends the process with
// status 1 after "ERROR: can't open ...".
bool openNamesFile(const StepData& d, std::ifstream& names);

// Reads the next entry; an entry that cannot be read ends the process with
// status 1 after "ERROR: reading ...".
void readNamesEntryOrExit(const StepData& d, std::istream& names, NamesEntry& e);

// Reads d.namesPath for d.samples samples into cloneNames, digestNames and
// copyNumbers (sized here) without writing anything. False on a wrong header.
bool readSampleNames(StepData& d);

#endif
