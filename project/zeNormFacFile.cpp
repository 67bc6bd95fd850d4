#include "zeNormFacFile.h"

#include <math.h>
#include <stdio.h>

#include <fstream>

#include "zeInfo.h"

namespace {

// Reads one marker lane's block. lastLaneId carries over between lines and
// blocks: a blank line is checked against the lane id read last.
bool readBlock(std::istream& in, const dbString& path, int lane, long long expectedId,
               int& lastLaneId, NormFacBlock& block, std::string& error) {
    int c = 0;
    if (!(in >> c)) {
        if (in.eof()) {
            error = "norm-fac file '" + std::string(path) + "' ends before the block of lane " +
                    std::to_string(lane);
            return false;
        }
        // A count that is not a number reads as 0: no pairs, reported below.
        c = 0;
    }
    in >> std::ws;

    dbString line;
    for (int i = 0; i < c; i++) {
        if (!readLine(in, line)) break;
        float norm = 0, gel = 0, size = 0;
        int got = sscanf(line.c_str(), "%d%f%f%f", &lastLaneId, &norm, &gel, &size);
        if (got == 0) break;
        if (got == 4) {
            Coords sc;
            sc.norm = (float)log((double)size);
            sc.gel = gel;
            block.sizes.append(sc);
        }
        if (got >= 3) {
            Coords pc;
            pc.norm = norm;
            pc.gel = gel;
            block.standard.append(pc);
        }
        if (lastLaneId != expectedId) {
            error = "corrupted norm-facs file";
            return false;
        }
    }

    if (block.standard.nelem() < 2) {
        error = "fewer than two calibration pairs for lane " + std::to_string(lane) + " in '" +
                std::string(path) + "'";
        return false;
    }
    return true;
}

} // namespace

bool markerLanesFit(int laneCount, int markerStep, std::string& error) {
    if (laneCount >= 1 && markerStep < 1) {
        error = "markerrepeat must be at least 1, not " + std::to_string(markerStep);
        return false;
    }
    if (laneCount >= 1 && (laneCount - 1) % markerStep != 0) {
        error = "lanenumber " + std::to_string(laneCount) + " does not end on a marker lane: " +
                "lanenumber - 1 is not a multiple of markerrepeat " + std::to_string(markerStep);
        return false;
    }
    return true;
}

bool parseNormFacs(std::istream& in, const dbString& path, int laneCount, int markerStep,
                   int laneIdFactor, std::vector<NormFacBlock>& blocks, std::string& error) {
    blocks.clear();
    if (!markerLanesFit(laneCount, markerStep, error)) return false;
    dbString header;
    readLine(in, header);
    if (header != "NORMFACTORS") {
        error = "wrong header in '" + std::string(path) + "'";
        return false;
    }
    int lastLaneId = 0;
    for (int l = 0; l < laneCount; l += markerStep) {
        blocks.emplace_back();
        if (!readBlock(in, path, l, (long long)l * laneIdFactor, lastLaneId, blocks.back(), error))
            return false;
    }
    return true;
}

bool readNormFacFile(const dbString& path, int laneCount, int markerStep, int laneIdFactor,
                     std::vector<NormFacBlock>& blocks, std::string& error) {
    // Checked before the file is opened, as the step does.
    if (!markerLanesFit(laneCount, markerStep, error)) return false;
    std::ifstream in(path.c_str());
    if (!in) {
        error = "couldn't open file '" + std::string(path) + "'";
        return false;
    }
    return parseNormFacs(in, path, laneCount, markerStep, laneIdFactor, blocks, error);
}
