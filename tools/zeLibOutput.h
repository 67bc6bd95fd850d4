// The text of zeGenLibrary's files beside the bands files (zeBandsFile.h
// writes those): the clone names, the truth rows and the repeat copies.
#ifndef ZE_LIBOUTPUT_H
#define ZE_LIBOUTPUT_H

#include <string>
#include <vector>

#include "zeLibClone.h"
#include "zeLibGenome.h"

std::string cloneName(long ordinal);

extern const char* const TRUTH_HEADER;
void appendTruthRow(std::string& out, const std::string& name, long gel, const Clone& c,
                    const std::vector<int64_t>& cuts);

// The header and one row per copy: block (from 1), start, end.
std::string repeatsTable(const std::vector<RepeatCopy>& copies);

#endif
