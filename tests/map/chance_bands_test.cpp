// The bands two clones share by chance: as if evenly spread in a small
// library, from how the library's bands crowd the scale in a large one
// (the contig's own bands left out), and a pair's bands beyond chance.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "zeChanceBands.h"
#include "zeContigMap.h"
#include "zeTilingPath.h"

namespace {

std::vector<int> spaced(int from, int count, int step) {
    std::vector<int> bands;
    for (int k = 0; k < count; ++k)
        bands.push_back(from + k * step);
    return bands;
}

// The bands of `clones` fingerprints, each with the same `bands`.
std::vector<int> copies(const std::vector<int>& bands, int clones) {
    std::vector<int> all;
    for (int c = 0; c < clones; ++c)
        all.insert(all.end(), bands.begin(), bands.end());
    std::sort(all.begin(), all.end());
    return all;
}

// A library of `clones` such fingerprints.
LibraryBands library(const std::vector<int>& bands, int clones) {
    std::vector<std::vector<int>> all((size_t)clones, bands);
    std::vector<const std::vector<int>*> each;
    for (const std::vector<int>& b : all)
        each.push_back(&b);
    return libraryBands(each);
}

} // namespace

TEST(ChanceBands, EvenlySpreadWhereTheLibraryIsSmall) {
    const std::vector<int> a = spaced(100, 37, 100), b = spaced(150, 37, 100);
    const LibraryBands small = library(a, 10); // 370 bands
    // 37 (1 - (1 - 14 / 4600)^37) = 3.95.
    EXPECT_EQ(chanceShared(chanceBands(small, {}, 7), a, b), 4);
    EXPECT_EQ(chanceShared(chanceBands({}, {}, 7), a, b), 4);
}

TEST(ChanceBands, CrowdedBandsShareMoreByChance) {
    // 100 clones whose bands all lie at a's positions: a band of a
    // matches by chance with 1 - (1 - 1/37)^37 = 0.64; b's bands lie
    // where no other band does.
    const std::vector<int> a = spaced(100, 37, 100), b = spaced(150, 37, 100);
    const LibraryBands crowded = library(a, 100);
    const ChanceBands chance = chanceBands(crowded, {}, 7);
    EXPECT_EQ(chanceShared(chance, a, a), 24);
    EXPECT_EQ(chanceShared(chance, b, b), 0);
    // The contig's own bands are its clones' true matches, not chance.
    std::vector<int> own = copies(a, 40);
    EXPECT_EQ(chanceShared(chanceBands(crowded, own, 7), a, a), 24);
    own = copies(a, 99);
    EXPECT_EQ(chanceShared(chanceBands(crowded, own, 7), a, a), 4); // too few left: even
}

TEST(ChanceBands, LibraryKeptByPosition) {
    // Each position once, however many bands lie there or however far off
    // the scale one lies.
    const std::vector<int> a = {100, 200, 2000000000}, b = {100, 300};
    const LibraryBands both = libraryBands({&a, &b});
    EXPECT_EQ(both.positions, (std::vector<int>{100, 200, 300, 2000000000}));
    EXPECT_EQ(both.below, (std::vector<long>{0, 2, 3, 4, 5}));
    EXPECT_EQ(both.count(), 5);
}

TEST(ChanceBands, BeyondChanceLeavesTheChanceOfTheOtherBands) {
    const std::vector<int> a = spaced(100, 37, 100), b = spaced(150, 37, 100);
    const ChanceBands even = chanceBands({}, {}, 7);
    EXPECT_EQ(sharedBeyondChance(even, a, b, 4), 0);
    EXPECT_EQ(sharedBeyondChance(even, a, b, 2), -2);
    // 10 shared: 4 by chance of all 37, fewer of the others.
    EXPECT_GT(sharedBeyondChance(even, a, b, 10), 6);
    EXPECT_EQ(sharedBeyondChance(even, a, b, 37), 37);
}

TEST(ChanceBands, ChanceStepInACrowdedLibraryIsWeak) {
    // A and B share 5 bands, where the other contigs' bands crowd: by
    // chance, so the step between them is weak; alone it is strong.
    std::vector<Fingerprint> prints(2);
    prints[0].clone = "A";
    prints[0].bands = spaced(100, 30, 10);
    prints[1].clone = "B";
    prints[1].bands = spaced(105, 25, 10);
    for (int k = 0; k < 5; ++k)
        prints[1].bands.push_back(100 + 10 * k);
    std::sort(prints[1].bands.begin(), prints[1].bands.end());
    ContigMap map;
    map.contigs = 1;
    PlacedClone a, b;
    a.contig = b.contig = 1;
    a.left = 0, a.right = 30, b.left = 20, b.right = 50;
    map.clones = {a, b};
    EXPECT_FALSE(tilingPaths(prints, map, 4, 1)[0].at(1).weak);
    for (int c = 0; c < 100; ++c) {
        Fingerprint f;
        f.clone = "O" + std::to_string(c);
        f.bands = spaced(100, 30, 10);
        prints.push_back(f);
        PlacedClone o;
        o.contig = 2;
        o.left = 0, o.right = 30;
        map.clones.push_back(o);
    }
    map.contigs = 2;
    EXPECT_TRUE(tilingPaths(prints, map, 4, 1)[0].at(1).weak);
}
