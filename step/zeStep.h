// The step driver of zeStep5 and the stages it runs, in their order.
#ifndef ZE_STEP_H
#define ZE_STEP_H

#include "zeCli.h"
#include "zeStepData.h"

// Process-wide flags set by the command line (-h, -v).
extern bool giveHelp;
extern bool verbose;

// The usage text; also the parser's help callback.
void help();
// Runs one step for projectDir; pulls the mapping name from the parser.
void noParam(cli& c, const char* projectDir);
// 1 when any step so far printed an "ERROR: " line, else 0.
int stepsExitStatus();

// Stages. Each returns false when the step must end (after its message);
// fatal errors end the process with status 1 inside the stage.
bool readTraces(StepData& d);
bool emitTraces(StepData& d);
bool emitBands(StepData& d);
bool emitCloneFiles(StepData& d);

// Ascending order of floats for dp_Accum<float>::sort (NaN compares equal).
int bandSort(float* a, float* b);

#endif
