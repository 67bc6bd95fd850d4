// The simulated genome: its restriction cuts, and the repeat families whose
// copies replace the cuts where they lie. A family is a block with
// restriction fragments of its own, copied to a few random places, as
// segmental duplications and clusters of transposons are.
#ifndef ZE_LIBGENOME_H
#define ZE_LIBGENOME_H

#include <cstdint>
#include <vector>

#include "zeLibRandom.h"

const int64_t REPEAT_SHORTEST = 20000;
const int64_t REPEAT_LONGEST = 80000;
const int REPEAT_FEWEST_COPIES = 2;
const int REPEAT_MOST_COPIES = 6;
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
    int copies = 0;
};

struct RepeatCopy {
    int block = 0; // index into the blocks
    int64_t start = 0, end = 0;
};

// Families of uniform length REPEAT_SHORTEST..REPEAT_LONGEST, each cut as
// the genome is and with REPEAT_FEWEST_COPIES..REPEAT_MOST_COPIES copies
// (uniform), until their copies cover share of the genome; the last
// family may take it up to one family's copies past that.
std::vector<RepeatBlock> makeRepeatBlocks(Rng& rng, double fragmentMean, int64_t genome,
                                          double share);

// Every family's copies at uniform places, none overlapping another;
// ascending by start. Ends the program with an ERROR line when the genome
// has no room left for them.
std::vector<RepeatCopy> layRepeatCopies(Rng& rng, const std::vector<RepeatBlock>& blocks,
                                        int64_t genome, double share);

// The genome's cuts with the cuts strictly inside each copy replaced by its
// block's.
std::vector<int64_t> withRepeats(const std::vector<int64_t>& cuts,
                                 const std::vector<RepeatBlock>& blocks,
                                 const std::vector<RepeatCopy>& copies);

#endif
