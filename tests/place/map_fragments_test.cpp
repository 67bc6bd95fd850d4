// The map's fragments from hand-made contigs: which bands make one, and
// where it lies.
#include <gtest/gtest.h>

#include <cmath>

#include "zeFragmentPlace.h"
#include "zeMapFragments.h"
#include "zeSequenceChains.h"

namespace {

struct HandContig {
    std::vector<ContigTableRow> rows;
    std::vector<SizedClone> clones;
    SizeScale scale;
    HandContig() {
        scale.logAtZero = std::log(100000.0);
        scale.logPerUnit = -0.001;
    }
    // A clone of contig 1 over left..right with bands at these units.
    void add(long left, long right, const std::vector<double>& units) {
        ContigTableRow r;
        r.contig = 1;
        r.clone = "c" + std::to_string(rows.size());
        r.gel = "1";
        r.ordinal = (int)rows.size() + 1;
        r.left = left;
        r.right = right;
        rows.push_back(r);
        SizedClone c;
        c.print = {r.clone, r.gel, {}, r.ordinal};
        for (double u : units) {
            c.print.bands.push_back((int)u);
            c.sizes.push_back((int)std::lround(std::exp(scale.logAtZero + scale.logPerUnit * u)));
        }
        clones.push_back(c);
    }
    PlaceMap map() const {
        PlaceMap m;
        std::string error;
        EXPECT_TRUE(buildPlaceMap(rows, clones, scale, matchTolerance(ChainSettings()), m, error)) << error;
        return m;
    }
};

TEST(FragmentPlace, TheMiddleOfWhereTheMostClonesOverlap) {
    // Three clones overlap over 6..20; a fourth only touches their ends.
    EXPECT_DOUBLE_EQ(deepestPlace({{0, 20}, {4, 21}, {6, 22}, {22, 42}}), 13);
    // Two stretches alike: from the first's start to the last's end.
    EXPECT_DOUBLE_EQ(deepestPlace({{0, 10}, {20, 30}}), 15);
    EXPECT_DOUBLE_EQ(deepestPlace({{5, 5}}), 5);
}

// Two fragments of nearly one size, the one held by clones 0-2, the other
// by clones 1 and 3: a clone's second band of that size is another
// fragment's, so two fragments, not one of five bands.
TEST(MapFragments, AClonesSecondBandOfASizeIsAnotherFragment) {
    HandContig h;
    h.add(0, 20, {1000});
    h.add(5, 25, {1000, 1002});
    h.add(8, 28, {1000});
    h.add(10, 30, {1002});
    PlaceMap m = h.map();
    ASSERT_EQ(m.fragments.size(), 2u);
    EXPECT_EQ(m.fragments[0].support + m.fragments[1].support, 5);
    EXPECT_NE(m.fragments[0].support, m.fragments[1].support);
}

// A band of a clone that the layout put just beyond the others joins their
// fragment; the fragment still lies where those three overlap (13), not
// at the crossing of the four (21).
TEST(MapFragments, AStrayBandLeavesThePlaceWhereMostClonesOverlap) {
    HandContig h;
    h.add(0, 20, {2000});
    h.add(4, 21, {2000});
    h.add(6, 22, {2000});
    h.add(22, 42, {2000});
    PlaceMap m = h.map();
    ASSERT_EQ(m.fragments.size(), 1u);
    EXPECT_EQ(m.fragments[0].support, 4);
    EXPECT_DOUBLE_EQ(m.fragments[0].at, 13);
}

} // namespace
