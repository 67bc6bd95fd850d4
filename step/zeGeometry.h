// Project geometry that the rest of a step (or the report) cannot work
// with: negative lane counts, no dyes, more samples or larger pictures
// than an ordinary machine can hold.
#ifndef ZE_GEOMETRY_H
#define ZE_GEOMETRY_H

#include "zeInfo.h"

// False after one "ERROR: " line naming the offending key.
bool projectGeometryUsable(const ProjInfo& p);

#endif
