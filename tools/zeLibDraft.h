// A draft assembly of the simulated genome: pieces of exponential length
// cut along it with short unassembled gaps between them, about half of
// them reverse-complemented, and a few misjoins, each two distant pieces
// glued into one sequence. Ordered longest first, as assemblers write them.
#ifndef ZE_LIBDRAFT_H
#define ZE_LIBDRAFT_H

#include <cstdint>
#include <string>
#include <vector>

#include "zeLibRandom.h"

// Pieces are at least this long; the gaps between them 0 to DRAFT_MOST_GAP bases.
const int64_t DRAFT_SHORTEST = 1000;
const int64_t DRAFT_MOST_GAP = 2000;
// The two pieces of a misjoin lie at least this far apart on the genome
// (less on a genome too short for it: a third of it).
const int64_t MISJOIN_DISTANCE = 1000000;

struct DraftPart {
    int64_t start = 0, end = 0; // on the genome, [start, end)
    bool reverse = false;
};

struct DraftSequence {
    std::string name;
    std::vector<DraftPart> parts; // two for a misjoin
    int64_t length() const;
};

// Mean piece length `mean`; `misjoins` of them glued to a distant one
// (fewer when the genome has too few pieces).
std::vector<DraftSequence> cutDraft(Rng& rng, int64_t genome, double mean, long misjoins);

// The bases of a draft sequence from the genome's.
std::string draftBases(const std::string& genome, const DraftSequence& d);

// draft-truth.tsv: a header and one row per part, "sequence part
// seq_start seq_end genome_start genome_end strand", 0-based, ends
// excluded, part from 1.
std::string draftTruthTable(const std::vector<DraftSequence>& draft);

#endif
