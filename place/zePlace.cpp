// zePlace: places sequences (a draft assembly, sequenced clones) on the
// contigs of a physical map by their restriction fragments. See
// man/zePlace.1.
#include "zePlaceRun.h"
#include "zeSignalCleanup.h"

int main(int argc, char** argv) {
    // An interrupted run leaves the previous outputs, not half of new ones.
    installSignalCleanup();
    return runPlace(argc, argv);
}
