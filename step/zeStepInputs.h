// The input stages shared by a step of zeStep5 and by zeReport: the paths
// of the project's files, the info file, the raw bands and the norm-fac
// file, each with the step's own messages.
#ifndef ZE_STEPINPUTS_H
#define ZE_STEPINPUTS_H

#include "zeStepData.h"

// The paths of the five input files and of the results directory.
void setInputPaths(StepData& d);

// "Load project", then the info file and its geometry checks. False after
// an "ERROR: " line.
bool loadProjectInfo(StepData& d);

// Sizes the per-sample arrays of raw bands and loads them. False after
// "ERROR: loading raw-bands".
bool loadSampleBands(StepData& d);

// Reads the norm-fac file into normFacs and sizeFacs (one per lane). A
// file that cannot be read ends the process with status 1.
void loadNormFactors(StepData& d, bool verboseOutput);

#endif
