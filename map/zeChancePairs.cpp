#include "zeChancePairs.h"

#include <cstdio>

namespace {

double pairsOf(size_t fingerprints) {
    const double n = (double)fingerprints;
    return n * (n - 1) / 2;
}

} // namespace

double chancePairs(size_t fingerprints, double cutoff) { return pairsOf(fingerprints) * cutoff; }

std::string chancePairsWarning(size_t fingerprints, double cutoff) {
    const double expected = chancePairs(fingerprints, cutoff);
    if (expected < 1) return "";
    char line[256];
    std::snprintf(line, sizeof line,
                  "WARNING: at cutoff %g, about %.0f of the %.0f pairs of the %zu fingerprints "
                  "pass by chance alone, and each may join two places of the genome: a lower "
                  "cutoff (-c) keeps them out",
                  cutoff, expected, pairsOf(fingerprints), fingerprints);
    return line;
}
