// Project geometry that the rest of a step (or the report) cannot work
// with: negative lane counts, no dyes, more samples or larger pictures
// than an ordinary machine can hold.
#ifndef ZE_GEOMETRY_H
#define ZE_GEOMETRY_H

#include "zeInfo.h"

// False after one "ERROR: " line naming the offending key.
bool projectGeometryUsable(const ProjInfo& p);

// False after one "ERROR: " line when the per-clone pictures of every
// sample, at the project's output size and the traces' row count, would
// take more than ZE_MAX_PICTURE_BYTES.
bool picturesFit(const ProjInfo& p, int samples, int rowCount);

#endif
