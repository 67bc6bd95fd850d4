// The simulated genome: its restriction cuts, and the repeat blocks whose
// copies replace the cuts where they lie.
#ifndef ZE_LIBGENOME_H
#define ZE_LIBGENOME_H

#include <cstdint>
#include <vector>

#include "zeLibRandom.h"

const int REPEAT_BLOCKS = 10;
const int64_t REPEAT_SHORTEST = 20000;
const int64_t REPEAT_LONGEST = 100000;
// Copies are laid at random without overlap; beyond about this share of
// the genome the free gaps become too short to lay more.
const double MOST_REPEATS = 0.5;

// The cut positions along [0, length): fragment k runs from cuts[k] to
// cuts[k + 1]; the first cut is 0 and the last is length. Fragment lengths
// are exponential of mean fragmentMean.
std::vector<int64_t> cutGenome(Rng& rng, int64_t length, double fragmentMean);

struct RepeatBlock {
    int64_t length = 0;
    std::vector<int64_t> cuts; // offsets strictly inside (0, length), ascending
};

struct RepeatCopy {
    int block = 0; // index into the blocks
    int64_t start = 0, end = 0;
};

// REPEAT_BLOCKS blocks of uniform length REPEAT_SHORTEST..REPEAT_LONGEST,
// each cut as the genome is.
std::vector<RepeatBlock> makeRepeatBlocks(Rng& rng, double fragmentMean);

// Copies of random blocks at uniform places, none overlapping another,
// until they cover share of the genome; ascending by start. Ends the
// program with an ERROR line when the genome has no room left for them.
std::vector<RepeatCopy> layRepeatCopies(Rng& rng, const std::vector<RepeatBlock>& blocks,
                                        int64_t genome, double share);

// The genome's cuts with the cuts strictly inside each copy replaced by its
// block's.
std::vector<int64_t> withRepeats(const std::vector<int64_t>& cuts,
                                 const std::vector<RepeatBlock>& blocks,
                                 const std::vector<RepeatCopy>& copies);

#endif
