#include "zeProjectPaths.h"

ProjectPaths projectPaths(const dbString& projectDir) {
    ProjectPaths p;
    p.info = projectDir + "/info";
    p.rawBands = projectDir + "/raw-bands";
    p.traces = projectDir + "/traces";
    p.normFac = projectDir + "/norm-fac";
    p.names = projectDir + "/names";
    p.results = projectDir + "/Results";
    return p;
}
