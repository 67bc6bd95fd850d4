#include "zeGeometry.h"

#include <iostream>

#include "zeError.h"
#include "zeInfoGeometry.h"
#include "zeLimits.h"

bool projectGeometryUsable(const ProjInfo& p) {
    std::string error;
    if (infoGeometryUsable(p, error)) return true;
    printError(error);
    return false;
}

bool picturesFit(const ProjInfo& p, int samples, int rowCount) {
    long long width = p.outputxsize > 0 ? p.outputxsize : 0;
    long long height = p.outputysize < rowCount - 2 ? p.outputysize : rowCount - 2;
    if (height < 0) height = 0;
    long long bytes = (long long)samples * 3 * width * height;
    if (bytes > ZE_MAX_PICTURE_BYTES) {
        printError("gel strip pictures of " + std::to_string(width) + " x " + std::to_string(height) +
                   " pixels for " + std::to_string(samples) + " samples would take more than " +
                   std::to_string(ZE_MAX_PICTURE_BYTES >> 30) + " GiB");
        return false;
    }
    return true;
}
