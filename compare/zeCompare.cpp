// zeCompare: compares the fingerprints of one or more bands files written
// by zeStep5 (shared bands, Sulston score, Dice) and writes the pairs that
// pass a cutoff, optionally with a page holding a tree and a heatmap.
#include "zeCompareRun.h"
#include "zeSignalCleanup.h"

int main(int argc, char** argv) {
    // An interrupted run leaves no half-written page.
    installSignalCleanup();
    return runCompare(argc, argv);
}
