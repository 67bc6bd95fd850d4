// The overlaps with clones at another copy of a repeat, on hand-made
// clones: a clone holding a family at one place, a partner of its place
// and a partner at the family's other copy; and a chain on a line, whose
// overlaps all stay.
#include <gtest/gtest.h>

#include "zeRepeatCopies.h"

namespace {

// Bands 4 k apart at tolerance 0: place A's fragments from 1000, place
// B's from 3000, the family's (R) from 6000.
std::vector<int> fragments(int base, int first, int last) {
    std::vector<int> bands;
    for (int k = first; k <= last; ++k)
        bands.push_back(base + 4 * k);
    return bands;
}

Fingerprint clone(const std::string& name, std::vector<std::vector<int>> parts) {
    Fingerprint f;
    f.clone = name;
    for (const std::vector<int>& part : parts)
        f.bands.insert(f.bands.end(), part.begin(), part.end());
    std::sort(f.bands.begin(), f.bands.end());
    return f;
}

const std::vector<int> R = fragments(6000, 0, 14);

// 0: x, at A, holding the family with 5 fragments of A on either side;
// 1: z, at A, reaching past x on its left; 2: y, at B, holding the family;
// 3: w, at B, reaching past y on its left.
struct TwoCopies {
    std::vector<Fingerprint> prints{
        clone("x", {fragments(1000, 25, 34), R}), clone("z", {fragments(1000, 15, 31), R}),
        clone("y", {fragments(3000, 20, 32), R}), clone("w", {fragments(3000, 10, 30), R})};
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

TEST(RepeatCopies, APartnerSharingBandsBeyondTheCloneIsOnItsSide) {
    TwoCopies c;
    // y now also reaches over A's fragments 15-24, beyond x, that z holds.
    c.prints[2] = clone("y", {fragments(3000, 20, 32), fragments(1000, 15, 24), R});
    const OverlapGraph g(4, c.pairs);
    EXPECT_EQ(partnersAtOtherCopies(g, PrintsView(c.prints), 0, c.s), std::vector<int>());
}

TEST(RepeatCopies, NothingIsCutOnALine) {
    // Six clones of 30 fragments, each 10 on from the one before.
    std::vector<Fingerprint> prints;
    std::vector<PairScore> pairs;
    for (int k = 0; k < 6; ++k) {
        prints.push_back(clone(std::to_string(k), {fragments(1000, 10 * k, 10 * k + 29)}));
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
