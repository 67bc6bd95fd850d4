#include "zeStepInputs.h"

#include <iostream>
#include <string>

#include "zeError.h"
#include "zeGeometry.h"
#include "zeProjectPaths.h"
#include "zeStep.h"

void setInputPaths(StepData& d) {
    ProjectPaths p = projectPaths(d.projectDir);
    d.rawBandsPath = p.rawBands;
    d.infoPath = p.info;
    d.tracesPath = p.traces;
    d.normFacPath = p.normFac;
    d.namesPath = p.names;
    d.resultsDir = p.results;
}

bool loadProjectInfo(StepData& d) {
    std::cout << "Load project" << std::endl;
    if (!d.project.readFrom(d.infoPath)) {
        printError("failed to load project file");
        return false;
    }
    // Geometry the rest of the step cannot work with ends the step before
    // the results directory is touched.
    return projectGeometryUsable(d.project);
}

bool loadSampleBands(StepData& d) {
    d.samples = d.project.lanenumber * d.project.dyenumber;
    std::string error;
    if (readRawBandsFile(d.rawBandsPath, d.samples, d.rawBands, error)) return true;
    printError(error);
    return false;
}

bool readTraces(StepData& d) {
    std::string error;
    if (readTraceFile(d.tracesPath, d.samples, d, error)) return true;
    printError(error);
    return false;
}

bool loadNormFactors(StepData& d, bool verboseOutput) {
    const ProjInfo& p = d.project;
    d.normFacs.resize(0, p.lanenumber - 1);
    d.sizeFacs.resize(0, p.lanenumber - 1);
    d.haveSizes = false;
    return readNormFacs(p.lanenumber, p.markerrepeat, p.dyenumber, d.normFacPath, p.normmethod,
                        verboseOutput, &d.haveSizes, &d.normFacs, &d.sizeFacs);
}
