// Loading a project for the report: the same readers and normalisation as
// a step of zeStep5, in the same order, but nothing is written, removed or
// recreated in the project directory.
#ifndef ZE_REPORTPROJECT_H
#define ZE_REPORTPROJECT_H

#include "zeStepData.h"

// Fills d (info, raw bands, traces, norm factors, names) for the project
// d.projectDir. False after an "ERROR: " line when the project cannot be
// reported; the library's fatal errors end the process with status 1.
bool loadReportProject(StepData& d);

#endif
