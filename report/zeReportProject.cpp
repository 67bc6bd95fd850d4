#include "zeReportProject.h"

#include <iostream>

#include "zeSampleNames.h"
#include "zeStep.h"
#include "zeStepInputs.h"

bool loadReportProject(StepData& d) {
    // Results stays as it is: the report only reads.
    setInputPaths(d);
    if (!loadProjectInfo(d)) return false;
    std::cout << "Loading raw bands" << std::endl;
    if (!loadSampleBands(d)) return false;
    if (!readTraces(d)) return false;
    loadNormFactors(d, false);
    return readSampleNames(d);
}
