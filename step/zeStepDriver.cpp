#include <dirent.h>

#include <cstring>
#include <iostream>

#include "zeCommand.h"
#include "zeError.h"
#include "zeExit.h"
#include "zeGeometry.h"
#include "zeProjectLock.h"
#include "zeShell.h"
#include "zeStep.h"
#include "zeStepInputs.h"
#include "zeWriteCheck.h"

bool giveHelp = false;
bool verbose = false;

void help() {
    std::cout << "USAGE:  zeStep5 luprojname mapping-projname" << std::endl;
    std::cout << " -h          help" << std::endl;
    std::cout << " -v          verbose debugging output" << std::endl;
}

namespace {

bool anyStepFailed = false;

// True when path names a directory holding nothing.
bool isEmptyDirectory(const char* path) {
    DIR* dir = opendir(path);
    if (!dir) return false;
    bool empty = true;
    while (struct dirent* entry = readdir(dir)) {
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0) {
            empty = false;
            break;
        }
    }
    closedir(dir);
    return empty;
}

// "rm -rf" and "mkdir" on the results directory. The path is quoted for the
// shell when it needs it, so any directory name is removed and recreated
// as it stands and nothing beside it is touched. The commands' results
// say little (a shell may fail quietly), so what counts is the directory
// they leave: it must exist and be empty, or stale results would mix with
// new ones. False after an "ERROR: " line when it isn't.
bool recreateResultsDir(const dbString& resultsDir) {
    dbString quoted = shellQuote(resultsDir.c_str());
    dbString remove = dbString("rm -rf ") + quoted;
    dbString create = dbString("mkdir ") + quoted;
    runShellCommand(remove.c_str());
    runShellCommand(create.c_str());
    if (isEmptyDirectory(resultsDir.c_str())) return true;
    printError("couldn't recreate results directory '" + std::string(resultsDir.c_str()) + "'");
    return false;
}

// False when the step ended early; d.failed tells of failures it went on after.
bool runStep(StepData& d) {
    // Held to the end of the step: a second run would remove Results
    // under this one.
    ProjectLock lock;
    if (!lock.acquire(d.projectDir.c_str(), ProjectLock::EXCLUSIVE)) {
        const char* holder = lock.refusedBy() == ProjectLock::SHARED ? "zeReport" : "another zeStep5";
        printError(projectBusyMessage(d.projectDir.c_str(), holder));
        return false;
    }
    setInputPaths(d);
    if (!loadProjectInfo(d)) return false;

    if (!recreateResultsDir(d.resultsDir)) d.failed = true;

    d.bandFileName = d.projectDir + "/" + d.project.gelnumber + ".bands";
    d.gelFileName = d.projectDir + "/" + d.mappingName + "." + d.project.gelnumber + ".gel";
    d.sizeFileName = d.projectDir + "/" + d.project.gelnumber + ".sizes";
    std::cout << "band filename = " << d.bandFileName << std::endl;
    std::cout << "gel  filename = " << d.gelFileName << std::endl;
    std::cout << "Loading raw bands" << std::endl;

    if (!loadSampleBands(d)) return false;
    if (!readTraces(d)) return false;
    if (!picturesFit(d.project, d.samples, d.rowCount)) return false;
    // A norm-fac file that cannot be opened ends the process here; a
    // damaged one has ended it inside the reader.
    if (!loadNormFactors(d, verbose)) zeExit(1);

    d.cloneNames.resize(0, d.samples - 1);
    d.digestNames.resize(0, d.samples - 1);
    d.copyNumbers.resize(0, d.samples - 1);

    std::cout << "Emit traces" << std::endl;
    // A failed write ends the process; a file that cannot be created is
    // reported here.
    d.gelFile = CheckedOutput::tryFile(d.gelFileName.c_str(), OnWriteFailure::EndProcess);
    if (!d.gelFile.isOpen()) {
        // The step goes on without the gel file, as it always has.
        printError("couldn't create gel file '" + std::string(d.gelFileName.c_str()) + "'");
        d.failed = true;
    }
    if (d.haveSizes) {
        d.sizeFile = CheckedOutput::tryFile(d.sizeFileName.c_str(), OnWriteFailure::EndProcess);
        if (!d.sizeFile.isOpen()) {
            printError("couldn't create size file '" + std::string(d.sizeFileName.c_str()) + "'");
            zeExit(1);
        }
    }

    if (!emitTraces(d)) return false;
    // Complete now: nothing is added to it later in the step.
    if (d.gelFile.isOpen()) d.gelFile.finish();

    std::cout << "Emit normalised bands" << std::endl;
    if (!emitBands(d)) return false;
    if (d.haveSizes) d.sizeFile.finish();

    if (d.haveSizes && !emitCloneFiles(d)) return false;
    return true;
}

}  // namespace

void noParam(cli& c, const char* projectDir) {
    forgetOutputs();
    StepData d;
    d.projectDir = projectDir;
    d.mappingName = c.get_String();
    if (!runStep(d) || d.failed) anyStepFailed = true;
    forgetOutputs();
    // Everything the step opened or allocated is released with d.
}

int stepsExitStatus() {
    return anyStepFailed ? 1 : 0;
}
