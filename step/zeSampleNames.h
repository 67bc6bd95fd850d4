// The clone and digest names of every sample, read from the project's
// names file without writing anything (the gel file's clone lines are the
// step's own business).
#ifndef ZE_SAMPLENAMES_H
#define ZE_SAMPLENAMES_H

#include "zeNames.h"
#include "zeStepData.h"

// Names sample s from its entry: sets cloneNames(s), digestNames(s) and,
// for a named sample, copyNumbers(s) (0 for a sample without a clone).
// Returns the clone counter value the sample got, advancing the counter,
// or -1 when the status is "-".
int nameSample(StepData& d, int s, const NamesEntry& e, int& cloneCounter);

// Reads d.namesPath for d.samples samples into cloneNames, digestNames and
// copyNumbers (sized here). False after "ERROR: wrong header for names
// file '...'"; a file that cannot be opened or an unreadable entry ends
// the process with status 1 after the step's message.
bool readSampleNames(StepData& d);

#endif
