// The input stages of a step of zeStep5: the paths of the project's files,
// the info file, the raw bands, the traces and the norm-fac file, each read
// by the project's readers and reported with the step's own messages.
#ifndef ZE_STEPINPUTS_H
#define ZE_STEPINPUTS_H

#include "zeStepData.h"

// The paths of the five input files and of the results directory.
void setInputPaths(StepData& d);

// "Load project", then the info file and its geometry checks. False after
// an "ERROR: " line; an invalid enumerated value ends the process
// (ProjInfo::readFrom).
bool loadProjectInfo(StepData& d);

// Sizes the per-sample arrays of raw bands and loads them. False after
// "ERROR: loading raw-bands".
bool loadSampleBands(StepData& d);

// Reads the norm-fac file into normFacs and sizeFacs (one per lane). False
// when the file cannot be opened (readNormFacs has said so); every other
// failure ends the process inside readNormFacs.
bool loadNormFactors(StepData& d, bool verboseOutput);

#endif
