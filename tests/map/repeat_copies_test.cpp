// The overlaps with clones at another copy of a repeat, on hand-made
// clones: a clone holding a family at one place, a partner of its place
// and a partner at the family's other copy; and a chain on a line, whose
// overlaps all stay.
#include <gtest/gtest.h>

#include "mapTestSupport.h"

#include "zeRepeatCopies.h"

namespace {

// Place A's fragments from 1000, place B's from 3000, the family's (R)
// from 6000, distinct at tolerance 0.
const auto fragments = zetest::spacedBands;

const std::vector<int> R = fragments(6000, 0, 14);

// 0: x, at A, holding the family with 5 fragments of A on either side;
// 1: z, at A, reaching past x on its left; 2: y, at B, holding the family;
// 3: w, at B, reaching past y on its left.
struct TwoCopies {
    std::vector<Fingerprint> prints{
        zetest::printOf({fragments(1000, 25, 34), R}, "x"),
        zetest::printOf({fragments(1000, 15, 31), R}, "z"),
        zetest::printOf({fragments(3000, 20, 32), R}, "y"),
        zetest::printOf({fragments(3000, 10, 30), R}, "w")};
    std::vector<PairScore> pairs{{0, 1, 22, 0, 0}, {0, 2, 15, 0, 0}, {1, 2, 15, 0, 0},
                                 {1, 3, 15, 0, 0}, {2, 3, 26, 0, 0}};
    MapSettings s;
    TwoCopies() { s.tolerance = 0; }
};

TEST(RepeatCopies, APartnerMatchingOnlyTheFamilysBandsLiesAtAnotherCopy) {
    TwoCopies c;
    const OverlapGraph g(4, c.pairs);
    const PrintsView prints(c.prints);
    EXPECT_EQ(partnersAtOtherCopies(g, prints, 0, c.s), std::vector<int>({2}));
    EXPECT_EQ(partnersAtOtherCopies(g, prints, 2, c.s), std::vector<int>({0, 1}));
    // z's partners: x has too few bands beyond z to be compared, y and w
    // match the same bands of z.
    EXPECT_EQ(partnersAtOtherCopies(g, prints, 1, c.s), std::vector<int>());
}

TEST(RepeatCopies, CutsTheOverlapsSeenSoFromBothEnds) {
    TwoCopies c;
    const OverlapGraph g(4, c.pairs);
    const PrintsView prints(c.prints);
    // x-y from both ends; z-y: y sees z at another copy, z sees nothing.
    EXPECT_EQ(repeatCopyCuts(g, prints, c.s), (std::vector<std::pair<int, int>>{{0, 2}}));
}

TEST(RepeatCopies, APairJustShortOfTheCutoffWitnessesTheClonesOwnPlace) {
    TwoCopies c;
    // x-z falls short of the cutoff: only the witnesses hold it.
    c.pairs.erase(c.pairs.begin());
    const OverlapGraph g(4, c.pairs);
    const OverlapGraph witnesses(4, std::vector<std::pair<int, int>>{{0, 1}});
    const PrintsView prints(c.prints);
    EXPECT_EQ(partnersAtOtherCopies(g, prints, 0, c.s), std::vector<int>());
    EXPECT_TRUE(repeatCopyCuts(g, prints, c.s).empty());
    EXPECT_EQ(partnersAtOtherCopies(g, prints, 0, c.s, &witnesses), std::vector<int>({2}));
    // Only an overlap of the build is cut, never a witness's.
    EXPECT_EQ(repeatCopyCuts(g, prints, c.s, &witnesses),
              (std::vector<std::pair<int, int>>{{0, 2}}));
}

TEST(RepeatCopies, APartnerSharingBandsBeyondTheCloneIsOnItsSide) {
    TwoCopies c;
    // y now also reaches over A's fragments 15-24, beyond x, that z holds.
    c.prints[2] = zetest::printOf({fragments(3000, 20, 32), fragments(1000, 15, 24), R}, "y");
    const OverlapGraph g(4, c.pairs);
    EXPECT_EQ(partnersAtOtherCopies(g, PrintsView(c.prints), 0, c.s), std::vector<int>());
}

TEST(RepeatCopies, NothingIsCutOnALine) {
    // Six clones of 30 fragments, each 10 on from the one before.
    std::vector<Fingerprint> prints;
    std::vector<PairScore> pairs;
    for (int k = 0; k < 6; ++k) {
        prints.push_back(
            zetest::printOf({fragments(1000, 10 * k, 10 * k + 29)}, std::to_string(k)));
        for (int j = 0; j < k; ++j)
            if (k - j <= 2) pairs.push_back({j, k, 30 - 10 * (k - j), 0, 0});
    }
    MapSettings s;
    s.tolerance = 0;
    const OverlapGraph g(6, pairs);
    EXPECT_TRUE(repeatCopyCuts(g, PrintsView(prints), s).empty());
    for (int x = 0; x < 6; ++x)
        EXPECT_TRUE(partnersAtOtherCopies(g, PrintsView(prints), x, s).empty()) << x;
}

} // namespace
