#include "zeInfoGeometry.h"

#include <cstring>

#include "zeLimits.h"

bool infoGeometryUsable(const ProjInfo& p, std::string& error) {
    if (p.lanenumber < 0) {
        error = "lanenumber must not be negative, not " + std::to_string(p.lanenumber);
        return false;
    }
    if (p.dyenumber < 1) {
        error = "dyenumber must be at least 1, not " + std::to_string(p.dyenumber);
        return false;
    }
    if ((long)p.lanenumber * p.dyenumber > ZE_MAX_SAMPLES) {
        error = "lanenumber x dyenumber must not exceed " + std::to_string(ZE_MAX_SAMPLES) +
                ", not " + std::to_string((long)p.lanenumber * p.dyenumber);
        return false;
    }
    if (p.outputxsize > ZE_MAX_IMAGE_SIDE || p.outputysize > ZE_MAX_IMAGE_SIDE) {
        error = "outputxsize and outputysize must not exceed " + std::to_string(ZE_MAX_IMAGE_SIDE) +
                ", not " + std::to_string(p.outputxsize) + " x " + std::to_string(p.outputysize);
        return false;
    }
    // The gel number names files in the project directory; a "/" in it
    // would write them somewhere else.
    if (strchr(p.gelnumber.c_str(), '/')) {
        error = "gelnumber must not contain '/', not '" + std::string(p.gelnumber.c_str()) + "'";
        return false;
    }
    return true;
}
