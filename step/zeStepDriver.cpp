#include <cstdlib>
#include <iostream>

#include "zeExit.h"
#include "zeGeometry.h"
#include "zeShell.h"
#include "zeStep.h"
#include "zeStepInputs.h"

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
    setInputPaths(d);
    if (!loadProjectInfo(d)) return;

    recreateResultsDir(d.resultsDir);

    d.bandFileName = d.projectDir + "/" + d.project.gelnumber + ".bands";
    d.gelFileName = d.projectDir + "/" + d.mappingName + "." + d.project.gelnumber + ".gel";
    d.sizeFileName = d.projectDir + "/" + d.project.gelnumber + ".sizes";
    std::cout << "band filename = " << d.bandFileName << std::endl;
    std::cout << "gel  filename = " << d.gelFileName << std::endl;
    std::cout << "Loading raw bands" << std::endl;

    if (!loadSampleBands(d)) return;
    if (!readTraces(d)) return;
    if (!picturesFit(d.project, d.samples, d.rowCount)) return;
    loadNormFactors(d, verbose);

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
