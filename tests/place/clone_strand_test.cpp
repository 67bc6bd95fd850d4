// A piece's strand from the clones over it, on hand-made contigs: six
// fragments of sizes 500 .. 3000 units, clones holding some of them and
// bands of their own.
#include <gtest/gtest.h>

#include <algorithm>

#include "zeCloneStrand.h"

namespace {

const double TOLERANCE = 7 / 1.4142135623730951;

std::vector<SequenceBand> sixBands(bool reversed = false) {
    std::vector<SequenceBand> seq;
    for (int k = 0; k < 6; ++k)
        seq.push_back({(int64_t)k * 4000, 4000, 500.0 * (reversed ? 6 - k : k + 1)});
    return seq;
}

// A clone holding the piece's fragments `held` (0-based) and `own` bands
// 40 units apart from 3500 + 40 x ownFrom, where no fragment lies.
MapClone cloneOf(long left, long right, std::vector<int> held, int own, int ownFrom = 0) {
    MapClone c;
    c.left = left;
    c.right = right;
    for (int k : held)
        c.units.push_back(500.0 * (k + 1));
    for (int b = 0; b < own; ++b)
        c.units.push_back(3500 + 40.0 * (ownFrom + b));
    std::sort(c.units.begin(), c.units.end());
    return c;
}

ContigClones contigOf(std::vector<MapClone> clones) {
    ContigClones c;
    std::sort(clones.begin(), clones.end(), [](const MapClone& a, const MapClone& b) { return a.left < b.left; });
    for (const MapClone& clone : clones) {
        c.end = std::max(c.end, clone.right);
        c.longest = std::max(c.longest, clone.right - clone.left);
    }
    c.clones = std::move(clones);
    return c;
}

StrandEvidence strandOf(const ContigClones& c, bool reversed = false) {
    return cloneStrand(sixBands(reversed), 0, 5, c, 20, 24, TOLERANCE);
}

// One clone out to the left holds the first fragments, one out to the
// right the last: strand +, and - for the sequence the other way round.
TEST(Placement, CloneEndsInsideThePieceGiveTheStrand) {
    ContigClones c = contigOf({cloneOf(0, 22, {0, 1, 2}, 20), cloneOf(8, 40, {0, 1, 2, 3, 4, 5}, 20, 20),
                               cloneOf(21, 50, {3, 4, 5}, 20, 40)});
    StrandEvidence e = strandOf(c);
    EXPECT_EQ(e.strand, 1);
    EXPECT_GT(e.weight, 2);
    EXPECT_EQ(strandOf(c, true).strand, -1);
}

TEST(Placement, NoCloneEndInsideShowsNoStrand) {
    ContigClones c = contigOf({cloneOf(0, 30, {0, 1, 2, 3, 4, 5}, 20), cloneOf(10, 40, {0, 1, 2, 3, 4, 5}, 20, 20)});
    EXPECT_EQ(strandOf(c).strand, 0);
}

// A clone lacking the last fragment alone has more likely missed its band
// than ended: a run of three lacking says far more.
TEST(Placement, AnEndIsARunOfFragmentsLackingNotOne) {
    StrandEvidence one = strandOf(contigOf({cloneOf(0, 22, {0, 1, 2, 3, 4}, 20)}));
    StrandEvidence run = strandOf(contigOf({cloneOf(0, 22, {0, 1, 2}, 20)}));
    EXPECT_EQ(run.strand, 1);
    EXPECT_GT(run.weight, one.weight + 1);
}

// A clone end is as likely in every gap between fragments: the more
// fragments a piece has, the likelier a clone over it ends inside, and
// the same run lacking at its end says more of the strand.
TEST(Placement, AClonesEndIsLikelierInsideALongerPiece) {
    auto weightOf = [](int fragments) {
        std::vector<SequenceBand> seq;
        MapClone c;
        c.left = 0;
        c.right = 22;
        for (int k = 0; k < fragments; ++k) {
            seq.push_back({(int64_t)k * 4000, 4000, 150.0 * (k + 1)});
            if (k < fragments - 3) c.units.push_back(150.0 * (k + 1));
        }
        for (int b = 0; b < 20; ++b)
            c.units.push_back(3700 + 40.0 * b);
        return cloneStrand(seq, 0, fragments - 1, contigOf({c}), 20, 24, TOLERANCE);
    };
    StrandEvidence few = weightOf(6), many = weightOf(24);
    EXPECT_EQ(few.strand, 1);
    EXPECT_EQ(many.strand, 1);
    EXPECT_GT(many.weight, few.weight + 0.5);
}

// The layout puts the clone holding the first fragments right of the
// piece (strand -), but it shares its own bands with a clone apart from
// the piece on the left: it reaches out to the left, and the strand is +.
TEST(Placement, TheClonesApartShowWhichSideACloneReachesOut) {
    MapClone first = cloneOf(14, 44, {0, 1, 2}, 20);
    MapClone right = cloneOf(30, 60, {}, 20, 40);
    EXPECT_EQ(strandOf(contigOf({first, right})).strand, -1);
    EXPECT_EQ(strandOf(contigOf({first, right, cloneOf(0, 12, {}, 20)})).strand, 1);
}

} // namespace
