// The text of zeGenLibrary's files: a clone's block of a bands file, the
// truth rows and the repeat copies.
#ifndef ZE_LIBOUTPUT_H
#define ZE_LIBOUTPUT_H

#include <string>
#include <vector>

#include "zeLibClone.h"
#include "zeLibGenome.h"

std::string cloneName(long ordinal);

// The clone's header line, its bands and the closing -1, as zeStep5 writes.
void appendBandsBlock(std::string& out, const std::string& name, long gel,
                      const std::vector<int>& bands);

extern const char* const TRUTH_HEADER;
void appendTruthRow(std::string& out, const std::string& name, long gel, const Clone& c,
                    const std::vector<int64_t>& cuts);

// The header and one row per copy: block (from 1), start, end.
std::string repeatsTable(const std::vector<RepeatCopy>& copies);

#endif
