// The step's geometry checks: those of every reader of the project
// (zeInfoGeometry.h) and the size of the step's own pictures.
#ifndef ZE_GEOMETRY_H
#define ZE_GEOMETRY_H

#include "zeInfo.h"

// infoGeometryUsable; false after its message as one "ERROR: " line.
bool projectGeometryUsable(const ProjInfo& p);

// False after one "ERROR: " line when the per-clone pictures of every
// sample, at the project's output size and the traces' row count, would
// take more than ZE_MAX_PICTURE_BYTES.
bool picturesFit(const ProjInfo& p, int samples, int rowCount);

#endif
