#include "zeReportProject.h"

#include <iostream>

#include "zeExit.h"
#include "zeGeometry.h"
#include "zeSampleNames.h"
#include "zeStep.h"

bool loadReportProject(StepData& d) {
    d.rawBandsPath = d.projectDir + "/raw-bands";
    d.infoPath = d.projectDir + "/info";
    d.tracesPath = d.projectDir + "/traces";
    d.normFacPath = d.projectDir + "/norm-fac";
    d.namesPath = d.projectDir + "/names";

    std::cout << "Load project" << std::endl;
    if (!d.project.readFrom(d.infoPath)) {
        std::cerr << "ERROR: failed to load project file" << std::endl;
        return false;
    }
    const ProjInfo& p = d.project;
    if (!projectGeometryUsable(p)) return false;

    std::cout << "Loading raw bands" << std::endl;
    d.samples = p.lanenumber * p.dyenumber;
    d.rawBands.resize(0, d.samples - 1);
    if (!loadRawBands(d.rawBandsPath, d.rawBands)) {
        std::cerr << "ERROR: loading raw-bands" << std::endl;
        return false;
    }

    if (!readTraces(d)) return false;

    d.normFacs.resize(0, p.lanenumber - 1);
    d.sizeFacs.resize(0, p.lanenumber - 1);
    d.haveSizes = false;
    // The step cannot go on without factors either: the same exit.
    if (!readNormFacs(p.lanenumber, p.markerrepeat, p.dyenumber, d.normFacPath, p.normmethod, false,
                      &d.haveSizes, &d.normFacs, &d.sizeFacs))
        zeExit(1);

    return readSampleNames(d);
}
