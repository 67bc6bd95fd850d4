// A sequence's places on the map, from its chains (zeSequenceChains.h).
//
// Only chains whose chance is at most the cutoff count. The longest (then
// least likely by chance) claims its stretch of the sequence; another
// chain over the same stretch elsewhere whose chance is within ALIKE times
// the first's makes that stretch `ambiguous` (a row for each place);
// chains over other stretches of the sequence are further pieces of it.
// Pieces that continue one another on one contig and strand are one.
// One piece: the sequence is `placed`, whole; several: each piece is a
// row of status `split`, the sequence cut midway between the pieces'
// matched fragments. No chain: one row `unplaced`.
#ifndef ZE_PLACEMENT_H
#define ZE_PLACEMENT_H

#include <cstdint>
#include <string>
#include <vector>

#include "zeMapFragments.h"
#include "zeSequenceChains.h"

const double DEFAULT_CHANCE_CUTOFF = 0.003;
const double ALIKE = 100;
// The log odds between the strands below which the clones show none: on
// simulated libraries, rows of weight 0.2 to 0.3 were right about half the
// time, whatever the chain's direction, those of 0.3 to 0.5 seven in ten.
const double STRAND_EVIDENCE = 0.3;

struct PlaceSettings {
    ChainSettings chains;
    double cutoff = DEFAULT_CHANCE_CUTOFF;
};

enum class PlaceStatus { Placed, Split, Ambiguous, Unplaced };

const char* placeStatusName(PlaceStatus s);

// "+", "-", or "?" for a strand the clones do not show (as AGP 2.1 and
// GFF3 write an unknown orientation).
const char* strandSign(int strand);

struct PlacementRow {
    std::string sequence;
    int64_t seqStart = 0, seqEnd = 0; // 0-based, end excluded
    int contig = 0;                   // 0 when unplaced
    long left = 0, right = 0;         // the contig's band units, right excluded
    int strand = 1;                   // +1, -1, or 0 where the clones show none
    int fragments = 0, matched = 0, clones = 0;
    PlaceStatus status = PlaceStatus::Unplaced;
    double logChance = 0;
};

std::vector<PlacementRow> placeSequence(const std::string& name, int64_t length,
                                        const std::vector<SequenceBand>& bands,
                                        const PlaceMap& map, const PlaceSettings& s);

#endif
