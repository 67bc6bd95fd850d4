// Overhang groups on hand-made clones: a clone holding a repeat family at
// place A, a partner of A reaching past it on each side and two partners at
// the family's other copy B; the same clone as the only link between the
// clones of A and B, where the family's bands pass the junction test's
// loose cutoff; and a line, where nothing lies at another copy.
#include <gtest/gtest.h>

#include "mapTestSupport.h"

#include "zeJunctions.h"
#include "zeOverhangGroups.h"

namespace {

// Place A's fragments from 1000, place B's from 3000, the family's
// from 6000, distinct at tolerance 0.
const std::vector<int> FAMILY = zetest::spacedBands(6000, 0, 14);

// 0: x at A with the family; 1, 2: partners of A reaching past x on either
// side; 3, 4: partners at B, each holding the family and a flank of B.
struct CopyPartners {
    std::vector<Fingerprint> prints{
        zetest::printOf({zetest::spacedBands(1000, 20, 29), FAMILY}), zetest::printOf({zetest::spacedBands(1000, 10, 24), FAMILY}),
        zetest::printOf({zetest::spacedBands(1000, 25, 39), FAMILY}), zetest::printOf({zetest::spacedBands(3000, 0, 12), FAMILY}),
        zetest::printOf({zetest::spacedBands(3000, 20, 32), FAMILY})};
    std::vector<PairScore> pairs{{0, 1, 20, 0, 0}, {0, 2, 20, 0, 0}, {0, 3, 15, 0, 0},
                                 {0, 4, 15, 0, 0}, {1, 2, 15, 0, 0}, {3, 4, 15, 0, 0}};
    MapSettings s;
    CopyPartners() { s.tolerance = 0; }
};

TEST(OverhangGroups, PartnersBeyondTheTwoSidesOfAPlaceLieAtAnotherCopy) {
    CopyPartners c;
    const OverlapGraph g(5, c.pairs);
    EXPECT_EQ(partnersInExtraOverhangs(g, PrintsView(c.prints), 0, c.s),
              std::vector<int>({3, 4}));
}

TEST(OverhangGroups, PartnersReachingPastOnOneSideAreOneGroup) {
    CopyPartners c;
    // B's partners now reach past x on one side of B, one further than the
    // other: two groups of A and one of B, which matches only the family's.
    c.prints[4] = zetest::printOf({zetest::spacedBands(3000, 0, 9), FAMILY});
    const OverlapGraph g(5, c.pairs);
    EXPECT_EQ(partnersInExtraOverhangs(g, PrintsView(c.prints), 0, c.s),
              std::vector<int>({3, 4}));
    // Without them, A's two sides stay.
    const OverlapGraph placeOnly(5, {c.pairs[0], c.pairs[1], c.pairs[4]});
    EXPECT_TRUE(partnersInExtraOverhangs(placeOnly, PrintsView(c.prints), 0, c.s).empty());
}

TEST(OverhangGroups, AJoinOnTheFamilysBandsIsAJunction) {
    CopyPartners c;
    // x's partners 1-2 and 3-4 overlap only through x; the pairs between
    // them pass the loose cutoff on the family's bands.
    const OverlapGraph g(5, c.pairs);
    const std::vector<char> junctions = findJunctions(g, PrintsView(c.prints), c.s);
    EXPECT_EQ(junctions, std::vector<char>({1, 0, 0, 0, 0}));
}

TEST(OverhangGroups, NothingLiesAtAnotherCopyOnALine) {
    // Six clones of 30 fragments, each 10 on from the one before, and a
    // short one in the middle of the third.
    std::vector<Fingerprint> prints;
    std::vector<PairScore> pairs;
    for (int k = 0; k < 6; ++k) {
        prints.push_back(zetest::printOf({zetest::spacedBands(1000, 10 * k, 10 * k + 29)}));
        for (int j = 0; j < k; ++j)
            if (k - j <= 2) pairs.push_back({j, k, 30 - 10 * (k - j), 0, 0});
    }
    prints.push_back(zetest::printOf({zetest::spacedBands(1000, 25, 44)}));
    for (int j = 0; j < 6; ++j)
        pairs.push_back({j, 6, 10, 0, 0});
    MapSettings s;
    s.tolerance = 0;
    const OverlapGraph g(7, pairs);
    for (int x = 0; x < 7; ++x)
        EXPECT_TRUE(partnersInExtraOverhangs(g, PrintsView(prints), x, s).empty()) << x;
}

} // namespace
