#include "zeVersion.h"

// ZE_VERSION comes from the project's version in CMakeLists.txt.
std::string versionLine(const std::string& program) {
    return program + " (zestep) " + ZE_VERSION + "\n";
}
