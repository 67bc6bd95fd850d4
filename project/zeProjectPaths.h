// Where a project directory keeps its input files and its results.
#ifndef ZE_PROJECTPATHS_H
#define ZE_PROJECTPATHS_H

#include "zeMystring.h"

struct ProjectPaths {
    dbString info;
    dbString rawBands;
    dbString traces;
    dbString normFac;
    dbString names;
    dbString results;
};

ProjectPaths projectPaths(const dbString& projectDir);

#endif
