#include "zeReportProject.h"

#include <iostream>
#include <vector>

#include "zeInfo.h"
#include "zeInfoGeometry.h"
#include "zeNormFacBuild.h"
#include "zeNormFacFile.h"
#include "zeProjectPaths.h"
#include "zeRBLoad.h"
#include "zeSampleNames.h"
#include "zeTraces.h"

namespace {

// False, with error set to message, which names path: in front of it where
// it does not already.
bool failIn(const dbString& path, const std::string& message, std::string& error) {
    std::string file(path.c_str());
    error = message.find(file) == std::string::npos ? file + ": " + message : message;
    return false;
}

} // namespace

bool loadReportProject(StepData& d, std::string& error) {
    ProjectPaths paths = projectPaths(d.projectDir);
    d.infoPath = paths.info;
    d.rawBandsPath = paths.rawBands;
    d.tracesPath = paths.traces;
    d.normFacPath = paths.normFac;
    d.namesPath = paths.names;
    d.resultsDir = paths.results;
    std::string message;

    std::cout << "Read project '" << d.projectDir << "'" << std::endl;
    ProjInfo& p = d.project;
    // The marker lanes are the info file's too, though the norm-fac reader
    // is the one that needs them.
    if (readInfoFile(paths.info, p, message) != InfoRead::Read ||
        !infoGeometryUsable(p, message) || !markerLanesFit(p.lanenumber, p.markerrepeat, message))
        return failIn(paths.info, message, error);

    d.samples = p.lanenumber * p.dyenumber;
    if (!readRawBandsFile(paths.rawBands, d.samples, d.rawBands, message))
        return failIn(paths.rawBands, message, error);
    if (!readTraceFile(paths.traces, d.samples, d, message))
        return failIn(paths.traces, message, error);

    std::vector<NormFacBlock> blocks;
    d.normFacs.resize(0, p.lanenumber - 1);
    d.sizeFacs.resize(0, p.lanenumber - 1);
    if (!readNormFacFile(paths.normFac, p.lanenumber, p.markerrepeat, p.dyenumber, blocks,
                         message) ||
        !buildNormFacs(blocks, p.lanenumber, p.markerrepeat, p.normmethod, d.haveSizes,
                       d.normFacs, d.sizeFacs, message))
        return failIn(paths.normFac, message, error);

    if (!readSampleNames(paths.names, d.samples, d, message))
        return failIn(paths.names, message, error);
    return true;
}
