#include "zeGeometry.h"

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
    return true;
}
