// readNormFacs: the step's reading of the norm-fac file, with its progress
// lines, and its end of the program on a damaged file. The parsing is the
// project's (zeNormFacFile.h), the building of the factors zeNormFacBuild.h.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "zeError.h"
#include "zeExit.h"
#include "zeNormFac.h"
#include "zeNormFacBuild.h"
#include "zeNormFacFile.h"

bool readNormFacs(int laneCount, int markerStep, int laneIdFactor, const dbString& path,
                  bool linear, bool verbose, bool* haveSizes, dp_Array<NormFac>* normFacs,
                  dp_Array<NormFac>* sizeFacs) {
    std::string error;
    if (!markerLanesFit(laneCount, markerStep, error)) {
        printError(error);
        zeExit(1);
    }

    std::cout << "Starting to read '" << path << "'" << std::endl;
    std::ifstream in(path.c_str());
    if (!in) {
        printError("couldn't open file '" + std::string(path) + "'");
        return false;
    }
    std::vector<NormFacBlock> blocks;
    if (!parseNormFacs(in, path, laneCount, markerStep, laneIdFactor, blocks, error)) {
        printError(error);
        zeExit(1);
    }

    // Unchecked: the step meets a spline it cannot evaluate where it
    // evaluates it, so neither build fails.
    bool sizes = false;
    buildMarkerFactors(blocks, markerStep, linear, false, *normFacs, *sizeFacs, sizes, error);
    if (sizes) std::cout << "Read fragment size information as well as migration data" << std::endl;
    std::cout << "Finished reading '" << path << "'" << std::endl;
    interpolateLaneFactors(laneCount, markerStep, sizes, verbose, false, *normFacs, *sizeFacs,
                           error);

    *haveSizes = sizes;
    return true;
}
