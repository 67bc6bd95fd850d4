// Joins held by one clone, on hand-made groups with their places given: a
// clone v of place A holding a repeat family joins A's clones to those of
// place B, whose clones share only the family's bands with A's. Laid over
// A's clones beyond v's place, the join is cut; laid beside them, as on a
// line, it stands.
#include <gtest/gtest.h>

#include "mapTestSupport.h"

#include "zeThinJoins.h"

namespace {

const std::vector<int> FAMILY = zetest::spacedBands(6000, 0, 14);

// 0: v; 1-4: place A's clones; 5-8: place B's. v overlaps 1, 2 and 5.
struct TwoPlaces {
    std::vector<Fingerprint> prints;
    std::vector<PairScore> pairs{{0, 1, 20, 0, 0}, {0, 2, 20, 0, 0}, {0, 5, 14, 0, 0}};
    std::vector<std::vector<int>> groups{{0, 1, 2, 3, 4, 5, 6, 7, 8}};
    ClonePlaces places = ClonePlaces(9);
    MapSettings s;

    TwoPlaces() {
        s.tolerance = 0;
        prints.push_back(zetest::printOf({zetest::spacedBands(1000, 0, 12), FAMILY}));
        for (int k = 0; k < 4; ++k)
            prints.push_back(zetest::printOf({zetest::spacedBands(1000, 5 * k, 5 * k + 20), FAMILY}));
        for (int k = 0; k < 4; ++k)
            prints.push_back(zetest::printOf({zetest::spacedBands(3000, 5 * k, 5 * k + 20), FAMILY}));
        for (int side : {1, 5})
            for (int j = side; j < side + 4; ++j)
                for (int k = j + 1; k < side + 4 && k <= j + 2; ++k)
                    pairs.push_back({j, k, 15, 0, 0});
        places[0] = {1, 0, 30};
        for (int k = 0; k < 4; ++k)
            places[(size_t)(1 + k)] = {1, 20 + 5 * k, 50 + 5 * k};
    }
    void placeB(long from) {
        for (int k = 0; k < 4; ++k)
            places[(size_t)(5 + k)] = {1, from + 5 * k, from + 30 + 5 * k};
    }
    std::vector<std::pair<int, int>> cuts() const {
        return thinJoinCuts(OverlapGraph(9, pairs), PrintsView(prints), groups, places, s);
    }
};

TEST(ThinJoins, PlacesLaidOverEachOtherBeyondTheCloneArePartedThere) {
    TwoPlaces t;
    // B's clones over A's: sixteen pairs lying across v, sharing the
    // family's bands only, which v has.
    t.placeB(22);
    EXPECT_EQ(t.cuts(), (std::vector<std::pair<int, int>>{{0, 5}}));
    t.s.thinJoinPairs = 17;
    EXPECT_TRUE(t.cuts().empty());
}

TEST(ThinJoins, SidesMeetingAtTheCloneOrSharingTheirBandsStay) {
    TwoPlaces t;
    t.placeB(-20); // beyond v, the other way from A's: a line
    EXPECT_TRUE(t.cuts().empty());
    // Over A's clones, but holding A's bands beyond v: one place.
    t.placeB(22);
    for (int k = 0; k < 4; ++k)
        t.prints[(size_t)(5 + k)] = t.prints[(size_t)(1 + k)];
    EXPECT_TRUE(t.cuts().empty());
}

} // namespace
