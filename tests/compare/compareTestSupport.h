// Helpers for the zeCompare tests: running the programs and making small
// normalised gels with zeGenProject and zeStep5.
#ifndef ZE_COMPARE_TEST_SUPPORT_H
#define ZE_COMPARE_TEST_SUPPORT_H

#include <string>
#include <vector>

#include "testSupport.h"

namespace zetest {

RunResult runCompare(const std::vector<std::string>& args);

// A generated gel (zeGenProject --out dir --seed seed, the knobs) run
// through zeStep5; returns the path of its bands file. Fails the test and
// returns "" when a program fails.
std::string normalisedGel(const std::string& dir, int seed, const std::vector<std::string>& knobs);

// The table's rows, each split at its tabs (the header row first).
std::vector<std::vector<std::string>> tableRows(const std::string& tsv);

} // namespace zetest

#endif
