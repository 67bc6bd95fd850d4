#include "zeStepInputs.h"

#include <iostream>

#include "zeError.h"
#include "zeExit.h"
#include "zeGeometry.h"

void setInputPaths(StepData& d) {
    d.rawBandsPath = d.projectDir + "/raw-bands";
    d.infoPath = d.projectDir + "/info";
    d.tracesPath = d.projectDir + "/traces";
    d.normFacPath = d.projectDir + "/norm-fac";
    d.namesPath = d.projectDir + "/names";
    d.resultsDir = d.projectDir + "/Results";
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
    d.rawBands.resize(0, d.samples - 1);
    if (!loadRawBands(d.rawBandsPath, d.rawBands)) {
        printError("loading raw-bands");
        return false;
    }
    return true;
}

void loadNormFactors(StepData& d, bool verboseOutput) {
    const ProjInfo& p = d.project;
    d.normFacs.resize(0, p.lanenumber - 1);
    d.sizeFacs.resize(0, p.lanenumber - 1);
    d.haveSizes = false;
    if (!readNormFacs(p.lanenumber, p.markerrepeat, p.dyenumber, d.normFacPath, p.normmethod,
                      verboseOutput, &d.haveSizes, &d.normFacs, &d.sizeFacs))
        zeExit(1);
}
