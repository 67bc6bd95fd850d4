// zeContig: builds a physical map (contigs of overlapping clones, ordered)
// from the bands files of a clone library. See man/zeContig.1.
#include "zeContigRun.h"
#include "zeSignalCleanup.h"

int main(int argc, char** argv) {
    // An interrupted run leaves the previous table, not half of a new one.
    installSignalCleanup();
    return runContig(argc, argv);
}
