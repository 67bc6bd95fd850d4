#include <cstdlib>
#include <iostream>

#include "zeExit.h"
#include "zeGeometry.h"
#include "zeShell.h"
#include "zeStep.h"

bool giveHelp = false;
bool verbose = false;

void help() {
    std::cout << "USAGE:  zeStep5 luprojname mapping-projname" << std::endl;
    std::cout << " -h          help" << std::endl;
    std::cout << " -v          verbose debugging output" << std::endl;
}

namespace {

// "rm -rf" and "mkdir" on the results directory. The path is quoted for the
// shell when it needs it, so any directory name is removed and recreated
// as it stands and nothing beside it is touched.
void recreateResultsDir(const dbString& resultsDir) {
    dbString quoted = shellQuote(resultsDir.c_str());
    dbString remove = dbString("rm -rf ") + quoted;
    dbString create = dbString("mkdir ") + quoted;
    int ignored = system(remove.c_str());
    ignored = system(create.c_str());
    (void)ignored;
}

void runStep(StepData& d) {
    d.rawBandsPath = d.projectDir + "/raw-bands";
    d.infoPath = d.projectDir + "/info";
    d.tracesPath = d.projectDir + "/traces";
    d.normFacPath = d.projectDir + "/norm-fac";
    d.namesPath = d.projectDir + "/names";
    d.resultsDir = d.projectDir + "/Results";

    std::cout << "Load project" << std::endl;
    if (!d.project.readFrom(d.infoPath)) {
        std::cerr << "ERROR: failed to load project file" << std::endl;
        return;
    }
    // Geometry the rest of the step cannot work with ends the step before
    // the results directory is touched.
    if (!projectGeometryUsable(d.project)) return;

    recreateResultsDir(d.resultsDir);

    d.bandFileName = d.projectDir + "/" + d.project.gelnumber + ".bands";
    d.gelFileName = d.projectDir + "/" + d.mappingName + "." + d.project.gelnumber + ".gel";
    d.sizeFileName = d.projectDir + "/" + d.project.gelnumber + ".sizes";
    std::cout << "band filename = " << d.bandFileName << std::endl;
    std::cout << "gel  filename = " << d.gelFileName << std::endl;
    std::cout << "Loading raw bands" << std::endl;

    const ProjInfo& p = d.project;
    d.samples = p.lanenumber * p.dyenumber;
    d.rawBands.resize(0, d.samples - 1);
    if (!loadRawBands(d.rawBandsPath, d.rawBands)) {
        std::cerr << "ERROR: loading raw-bands" << std::endl;
        return;
    }

    if (!readTraces(d)) return;
    if (!picturesFit(p, d.samples, d.rowCount)) return;

    d.normFacs.resize(0, p.lanenumber - 1);
    d.sizeFacs.resize(0, p.lanenumber - 1);
    d.haveSizes = false;
    if (!readNormFacs(p.lanenumber, p.markerrepeat, p.dyenumber, d.normFacPath, p.normmethod,
                      verbose, &d.haveSizes, &d.normFacs, &d.sizeFacs))
        zeExit(1);

    d.cloneNames.resize(0, d.samples - 1);
    d.digestNames.resize(0, d.samples - 1);
    d.copyNumbers.resize(0, d.samples - 1);

    std::cout << "Emit traces" << std::endl;
    d.gelFile.open(d.gelFileName.c_str(), std::ios::out | std::ios::trunc | std::ios::binary);
    if (!d.gelFile)
        std::cerr << "ERROR: couldn't create gel file '" << d.gelFileName << "'" << std::endl;
    if (d.haveSizes) {
        d.sizeFile.open(d.sizeFileName.c_str(), std::ios::out | std::ios::trunc);
        if (!d.sizeFile) {
            std::cerr << "ERROR: couldn't create size file '" << d.sizeFileName << "'" << std::endl;
            zeExit(1);
        }
    }

    if (!emitTraces(d)) return;

    std::cout << "Emit normalised bands" << std::endl;
    if (!emitBands(d)) return;

    if (d.haveSizes && !emitCloneFiles(d)) return;
}

}  // namespace

void noParam(cli& c, const char* projectDir) {
    StepData d;
    d.projectDir = projectDir;
    d.mappingName = c.get_String();
    runStep(d);
    // Everything the step opened or allocated is released with d.
}
