// Project geometry that no reader of the project can work with: negative
// lane counts, no dyes, more samples or larger pictures than an ordinary
// machine can hold, a gel number that would name files elsewhere.
#ifndef ZE_INFOGEOMETRY_H
#define ZE_INFOGEOMETRY_H

#include <string>

#include "zeInfo.h"

// False with error naming the offending key (its message, without "ERROR: ").
bool infoGeometryUsable(const ProjInfo& p, std::string& error);

#endif
