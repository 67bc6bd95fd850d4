// The text of zeGenLibrary's files beside the bands files (zeBandsFile.h
// writes those): the clone names, the truth rows and the repeat copies.
#ifndef ZE_LIBOUTPUT_H
#define ZE_LIBOUTPUT_H

#include <string>
#include <vector>

#include "zeLibChromosomes.h"
#include "zeLibClone.h"
#include "zeLibGenome.h"

std::string cloneName(long ordinal);

// The header of truth.tsv; with chromosomes, it ends in the columns
// chromosome and chromosome2 (the chromosome of each piece, chr1...; - for
// a clone of one piece).
std::string truthHeader(bool chromosomes);
// One clone's row; chromosomes null when the run has no --chromosomes.
void appendTruthRow(std::string& out, const std::string& name, long gel, const Clone& c,
                    const std::vector<int64_t>& cuts, const Chromosomes* chromosomes);

// The header and one row per copy: block (from 1), start, end.
std::string repeatsTable(const std::vector<RepeatCopy>& copies);

#endif
