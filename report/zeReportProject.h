// Loading a project for the report with the project's readers and the
// normalisation's checked build of the factors: nothing is written,
// removed or recreated in the project directory, and no damaged file ends
// the process, so that the other projects are still reported.
#ifndef ZE_REPORTPROJECT_H
#define ZE_REPORTPROJECT_H

#include <string>

#include "zeStepData.h"

// Fills d (info, raw bands, traces, norm factors, names) for the project
// d.projectDir. False with error set to the message of the first file that
// cannot be used (without "ERROR: "); a message that does not name that
// file gets its path in front ("<path>: <message>").
bool loadReportProject(StepData& d, std::string& error);

#endif
