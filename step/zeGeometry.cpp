#include "zeGeometry.h"

#include <cstring>
#include <iostream>

#include "zeError.h"
#include "zeLimits.h"

bool projectGeometryUsable(const ProjInfo& p) {
    if (p.lanenumber < 0) {
        printError("lanenumber must not be negative, not " + std::to_string(p.lanenumber));
        return false;
    }
    if (p.dyenumber < 1) {
        printError("dyenumber must be at least 1, not " + std::to_string(p.dyenumber));
        return false;
    }
    if ((long)p.lanenumber * p.dyenumber > ZE_MAX_SAMPLES) {
        printError("lanenumber x dyenumber must not exceed " + std::to_string(ZE_MAX_SAMPLES) + ", not " +
                   std::to_string((long)p.lanenumber * p.dyenumber));
        return false;
    }
    if (p.outputxsize > ZE_MAX_IMAGE_SIDE || p.outputysize > ZE_MAX_IMAGE_SIDE) {
        printError("outputxsize and outputysize must not exceed " + std::to_string(ZE_MAX_IMAGE_SIDE) +
                   ", not " + std::to_string(p.outputxsize) + " x " + std::to_string(p.outputysize));
        return false;
    }
    // The gel number names files in the project directory; a "/" in it
    // would write them somewhere else.
    if (strchr(p.gelnumber.c_str(), '/')) {
        printError("gelnumber must not contain '/', not '" + std::string(p.gelnumber.c_str()) + "'");
        return false;
    }
    return true;
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
