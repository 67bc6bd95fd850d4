// zeCompare: compares the fingerprints of one or more bands files written
// by zeStep5 (shared bands, Sulston score, Dice) and writes the pairs that
// pass a cutoff, optionally with a page holding a tree and a heatmap.
#include "zeCompareRun.h"

int main(int argc, char** argv) {
    return runCompare(argc, argv);
}
