// The package's version, as every program of it prints it for --version:
// "<program> (zestep) <version>".
#ifndef ZE_VERSION_H
#define ZE_VERSION_H

#include <string>

std::string versionLine(const std::string& program);

#endif
