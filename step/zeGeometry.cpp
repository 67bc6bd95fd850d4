#include "zeGeometry.h"

#include <cstring>
#include <iostream>

#include "zeLimits.h"

bool projectGeometryUsable(const ProjInfo& p) {
    if (p.lanenumber < 0) {
        std::cerr << "ERROR: lanenumber must not be negative, not " << p.lanenumber << std::endl;
        return false;
    }
    if (p.dyenumber < 1) {
        std::cerr << "ERROR: dyenumber must be at least 1, not " << p.dyenumber << std::endl;
        return false;
    }
    if ((long)p.lanenumber * p.dyenumber > ZE_MAX_SAMPLES) {
        std::cerr << "ERROR: lanenumber x dyenumber must not exceed " << ZE_MAX_SAMPLES << ", not "
                  << (long)p.lanenumber * p.dyenumber << std::endl;
        return false;
    }
    if (p.outputxsize > ZE_MAX_IMAGE_SIDE || p.outputysize > ZE_MAX_IMAGE_SIDE) {
        std::cerr << "ERROR: outputxsize and outputysize must not exceed " << ZE_MAX_IMAGE_SIDE
                  << ", not " << p.outputxsize << " x " << p.outputysize << std::endl;
        return false;
    }
    // The gel number names files in the project directory; a "/" in it
    // would write them somewhere else.
    if (strchr(p.gelnumber.c_str(), '/')) {
        std::cerr << "ERROR: gelnumber must not contain '/', not '" << p.gelnumber << "'"
                  << std::endl;
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
        std::cerr << "ERROR: gel strip pictures of " << width << " x " << height
                  << " pixels for " << samples << " samples would take more than "
                  << (ZE_MAX_PICTURE_BYTES >> 30) << " GiB" << std::endl;
        return false;
    }
    return true;
}
