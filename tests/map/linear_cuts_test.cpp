// The cut of a group that does not stay linear, on hand-made groups: two
// chains tied by one overlap and laid out over each other are parted at
// that overlap; a chain laid out in order is left whole.
#include <gtest/gtest.h>

#include "zeLinearCuts.h"

namespace {

// Chain clones k = 0 .. 5 of `first`: bands 10 k + 1 .. 10 k + 20 (step 1,
// far apart at tolerance 0) offset by `base`, so that neighbours share
// half of their bands and the two chains none.
Fingerprint chainClone(int k, int base) {
    Fingerprint f;
    f.clone = std::to_string(base + k);
    for (int b = 10 * k + 1; b <= 10 * k + 20; ++b)
        f.bands.push_back(base + 4 * b);
    return f;
}

struct TwoChains {
    std::vector<Fingerprint> prints;
    std::vector<PairScore> pairs;
    TwoChains() {
        for (int base : {0, 2000})
            for (int k = 0; k < 6; ++k)
                prints.push_back(chainClone(k, base));
        for (int c : {0, 6})
            for (int k = 0; k + 1 < 6; ++k)
                pairs.push_back({c + k, c + k + 1, 10, 0, 0});
        pairs.push_back({5, 6, 10, 0, 0}); // the tie: a chance, or a repeat
    }
};

ClonePlaces placesAt(const std::vector<long>& lefts) {
    ClonePlaces places;
    for (long left : lefts)
        places.push_back({1, left, left + 20});
    return places;
}

MapSettings cutSettings() {
    MapSettings s;
    s.tolerance = 0;
    s.overlaidPerClone = 0.25;
    return s;
}

} // namespace

TEST(LinearCuts, ChainsLaidOverEachOtherArePartedAtTheirTie) {
    TwoChains t;
    OverlapGraph g(12, t.pairs);
    std::vector<std::vector<int>> groups{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
    // The second chain laid out over the first, clone over clone.
    ClonePlaces over = placesAt({0, 10, 20, 30, 40, 50, 0, 10, 20, 30, 40, 50});
    EXPECT_TRUE(liesOver(t.prints[2], over[2], t.prints[8], over[8], 0, cutSettings()));
    EXPECT_FALSE(liesOver(t.prints[2], over[2], t.prints[3], over[3], 0, cutSettings()));
    std::vector<std::pair<int, int>> cuts = nonLinearCuts(g, t.prints, groups, over, cutSettings());
    EXPECT_EQ(cuts, (std::vector<std::pair<int, int>>{{5, 6}}));
    OverlapGraph parted = withoutEdges(g, cuts);
    EXPECT_EQ(parted.sharedOf(5, 6), -1);
    EXPECT_EQ(parted.sharedOf(4, 5), 10);
    EXPECT_EQ(parted.degree(0) + parted.degree(11), 2);
    EXPECT_EQ(g.pairs().size(), t.pairs.size());
    EXPECT_EQ(parted.pairs().size(), t.pairs.size() - 1);

    // Laid out in a row, the two chains are one linear group.
    ClonePlaces row = placesAt({0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110});
    EXPECT_TRUE(nonLinearCuts(g, t.prints, groups, row, cutSettings()).empty());
    // Fewer pairs over each other than the settings allow per clone: left whole.
    MapSettings lenient = cutSettings();
    lenient.overlaidPerClone = 2;
    EXPECT_TRUE(nonLinearCuts(g, t.prints, groups, over, lenient).empty());
    // A cut of more overlaps than allowed is not made.
    MapSettings narrow = cutSettings();
    narrow.mostCutOverlaps = 0;
    EXPECT_TRUE(nonLinearCuts(g, t.prints, groups, over, narrow).empty());
}
