// The stages of the map's build, each on small hand-made libraries: a
// chain of clones along a genome of restriction fragments (one band
// each), a branch that a repeat shared by two places makes, a buried clone
// overhanging a chain's end, and a chimeric clone made of pieces of two
// chains. Each stage is given what it needs and its findings are checked
// directly; buildMap is checked once on all of them together.
#include <gtest/gtest.h>

#include <algorithm>

#include "mapTestSupport.h"
#include "zeBurial.h"
#include "zeChimeras.h"
#include "zeJunctions.h"
#include "zeLayout.h"
#include "zeMapBuild.h"
#include "zeMisfits.h"
#include "zeTrustedPairs.h"

namespace mapstages {

using zetest::HandClone;

// Fragment k of the genome is one band at 100 + 3k, so at tolerance 1
// two clones share exactly the fragments they share, and a chain clone's
// neighbours up to three places away (steps of 7 fragments of 40) match it
// within the cutoff.
const int FRAGMENTS = 40;
const int STEP = 7;
const int SECOND = 400; // where the second chain starts on the genome

MapSettings settings() {
    MapSettings s;
    s.tolerance = 1;
    return s;
}

std::vector<int> evenGenome() {
    std::vector<int> bands;
    for (int k = 0; k < 1200; ++k)
        bands.push_back(100 + 3 * k);
    return bands;
}

struct Library {
    std::vector<int> genome = evenGenome();
    std::vector<Fingerprint> prints;

    int add(const std::string& name, std::vector<int> bands) {
        std::sort(bands.begin(), bands.end());
        bands.erase(std::unique(bands.begin(), bands.end()), bands.end());
        prints.push_back({name, "1", bands, (int)prints.size() + 1});
        return (int)prints.size() - 1;
    }
    int clone(const std::string& name, int first, int count) {
        return add(name, zetest::cloneOf(name, genome, first, count).bands);
    }
    // Clones <prefix>0 .. on FRAGMENTS fragments each, STEP apart from
    // `from`; their indices.
    std::vector<int> chain(const std::string& prefix, int from, int count) {
        std::vector<int> added;
        for (int k = 0; k < count; ++k)
            added.push_back(clone(prefix + std::to_string(k), from + STEP * k, FRAGMENTS));
        return added;
    }
    std::vector<int> piecesOf(std::initializer_list<std::pair<int, int>> pieces) const {
        std::vector<int> bands;
        for (auto [first, count] : pieces)
            for (int k = first; k < first + count; ++k)
                bands.push_back(genome[(size_t)k]);
        return bands;
    }
};

std::vector<PairScore> passing(const std::vector<Fingerprint>& prints, const MapSettings& s) {
    ScanSettings scan;
    scan.tolerance = s.tolerance;
    scan.cutoff = s.cutoff;
    return collectPassingPairs(prints, scan);
}

OverlapGraph trustedGraph(const std::vector<Fingerprint>& prints, const MapSettings& s) {
    const int n = (int)prints.size();
    return OverlapGraph(n, trustedPairs(n, passing(prints, s)));
}

PairScore pair(int first, int second, int shared = 10, double score = 1e-20) {
    PairScore p;
    p.first = first;
    p.second = second;
    p.shared = shared;
    p.score = score;
    return p;
}

// Places along each chain, as the genome has them: clone k of a chain at
// STEP k .. STEP k + FRAGMENTS, in group `group`.
void placeChain(ClonePlaces& places, const std::vector<int>& chain, int group) {
    for (size_t k = 0; k < chain.size(); ++k)
        places[(size_t)chain[k]] = {group, (long)(STEP * k), (long)(STEP * k + FRAGMENTS)};
}

TEST(MapStages, TrustedPairsNeedAWitnessUnlessTheyBringInALoneClone) {
    // 0-1-2 a triangle, 3-4-5 another; 2-6 brings in 6, which overlaps
    // nothing else; 1-4 joins the triangles on no witness; 7-8 is a pair of
    // clones overlapping nothing else.
    std::vector<PairScore> pairs = {pair(0, 1), pair(0, 2), pair(1, 2),       pair(1, 4, 5, 1e-13),
                                    pair(2, 6), pair(3, 4), pair(3, 5),       pair(4, 5),
                                    pair(7, 8)};
    std::vector<std::pair<int, int>> expected = {{0, 1}, {0, 2}, {1, 2}, {2, 6},
                                                 {3, 4}, {3, 5}, {4, 5}, {7, 8}};
    EXPECT_EQ(zetest::pairEnds(trustedPairs(9, pairs)), expected);
    // A clone with two lone pairs joins the group it overlaps best.
    std::vector<PairScore> two = {pair(0, 1), pair(0, 2), pair(1, 2), pair(3, 4),
                                  pair(3, 5), pair(4, 5), pair(2, 6, 8, 1e-14), pair(5, 6, 9, 1e-15)};
    std::vector<std::pair<int, int>> best = {{0, 1}, {0, 2}, {1, 2}, {3, 4}, {3, 5}, {4, 5}, {5, 6}};
    EXPECT_EQ(zetest::pairEnds(trustedPairs(7, two)), best);
}

TEST(MapStages, AChainIsOneGroupLaidOutInOrder) {
    Library lib;
    std::vector<int> a = lib.chain("A", 0, 12);
    const MapSettings s = settings();
    OverlapGraph g = trustedGraph(lib.prints, s);
    std::vector<char> junctions = findJunctions(g, lib.prints, s);
    EXPECT_EQ(std::count(junctions.begin(), junctions.end(), 1), 0);
    std::vector<std::vector<int>> groups = groupsApart(g, junctions);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0], a);

    // Perfect clones: no excess, and centres STEP apart along the chain.
    RoughLayout rough = roughLayout(g, lib.prints, a, s);
    ContigLayout layout = layoutContig(g, lib.prints, a, s, rough, 0);
    ASSERT_EQ(layout.centres.size(), a.size());
    const double direction = layout.centres[1] > layout.centres[0] ? 1 : -1;
    for (size_t k = 1; k < a.size(); ++k)
        EXPECT_NEAR(direction * (layout.centres[k] - layout.centres[k - 1]), STEP, 0.5) << k;
    for (double e : layout.excess)
        EXPECT_NEAR(e, 0, 0.5);
}

TEST(MapStages, AContigsLayoutDoesNotDependOnTheOtherContigs) {
    Library lib;
    // A dense chain whose clones each have 6 bands no other clone has
    // (partial end fragments, say): enough triples to measure an excess
    // of 6 on each (a clone's length is its bands less them); and a group
    // of 3 such clones, too small to measure its own, which takes the
    // library's.
    std::vector<int> a, b;
    for (int k = 0; k < 20; ++k)
        a.push_back(lib.add("A" + std::to_string(k), lib.piecesOf({{4 * k, FRAGMENTS}, {1000 + 6 * k, 6}})));
    for (int k = 0; k < 3; ++k)
        b.push_back(lib.add("B" + std::to_string(k),
                            lib.piecesOf({{SECOND + STEP * k, FRAGMENTS}, {900 + 6 * k, 6}})));
    const MapSettings s = settings();
    OverlapGraph g = trustedGraph(lib.prints, s);
    RoughLayout rough = roughLayout(g, lib.prints, a, s);
    EXPECT_NEAR(rough.excess[10], 6, 0.5);
    EXPECT_NEAR(typicalExcess({rough, roughLayout(g, lib.prints, b, s)}), 6, 0.5);

    ClonePlaces both = placeGroups(g, lib.prints, {a, b}, s);
    ClonePlaces reversed = placeGroups(g, lib.prints, {b, a}, s);
    ClonePlaces alone = placeGroups(g, lib.prints, {a}, s);
    for (int v : a) {
        EXPECT_EQ(both[v].left, alone[v].left);
        EXPECT_EQ(both[v].right, alone[v].right);
        EXPECT_EQ(both[v].left, reversed[v].left);
        EXPECT_EQ(reversed[v].contig, 2);
    }
    for (int v : b) {
        EXPECT_EQ(both[v].left, reversed[v].left);
        EXPECT_EQ(both[v].right, reversed[v].right);
        EXPECT_EQ(both[v].right - both[v].left, FRAGMENTS);
        EXPECT_EQ(both[v].contig, 2);
    }
}

TEST(MapStages, ABuriedCloneOverhangingAnEndIsBuriedInTheLastClone) {
    Library lib;
    std::vector<int> a = lib.chain("A", 0, 10);
    // 19 of its 21 fragments in the last chain clone, 2 beyond its end.
    const int last = STEP * 9;
    const int over = lib.clone("Over", last + FRAGMENTS - 19, 21);
    const int out = lib.clone("Out", last + FRAGMENTS - 15, 21);
    const MapSettings s = settings();
    OverlapGraph g = trustedGraph(lib.prints, s);
    std::vector<std::vector<int>> groups = groupsApart(g, findJunctions(g, lib.prints, s));
    ASSERT_EQ(groups.size(), 1u);
    ClonePlaces places = placeGroups(g, lib.prints, groups, s);
    std::vector<int> buriedIn = findBurials(g, places, s.buriedShare);
    for (int v : a)
        EXPECT_EQ(buriedIn[v], -1) << v;
    EXPECT_EQ(buriedIn[over], a.back());
    // It reaches past the end of the clone it lies in.
    const ClonePlace& end = places[a.back()];
    const bool rightwards = places[a[1]].left > places[a[0]].left;
    if (rightwards) {
        EXPECT_GT(places[over].right, end.right);
    } else {
        EXPECT_LT(places[over].left, end.left);
    }
    // One reaching 6 fragments past the end has too few bands inside.
    EXPECT_EQ(buriedIn[out], -1);
}

TEST(MapStages, BurialsAreWithinAContigInALongerOrEarlierClone) {
    // 0 and 1 alike (10 bands, all shared), 2 short inside both, 3 in
    // another contig sharing all of 2's bands.
    OverlapGraph g(4, {pair(0, 1, 10), pair(0, 2, 5), pair(1, 2, 5), pair(2, 3, 5)});
    ClonePlaces places = {{1, 0, 10}, {1, 0, 10}, {1, 2, 7}, {2, 0, 12}};
    std::vector<int> expected = {-1, 0, 0, -1};
    EXPECT_EQ(findBurials(g, places, 0.9), expected);
}

TEST(MapStages, ACloneWithAForeignPieceIsAMisfitAndAChimera) {
    Library lib;
    std::vector<int> a = lib.chain("A", 0, 14);
    std::vector<int> b = lib.chain("B", SECOND, 14);
    // Placed among A's clones on 16 fragments of them, with a piece of 10
    // from the middle of chain B: too short to overlap B's clones.
    const int x = lib.add("X", lib.piecesOf({{STEP * 6, 16}, {SECOND + STEP * 6 + 10, 10}}));
    const MapSettings s = settings();
    OverlapGraph g = trustedGraph(lib.prints, s);
    for (const Overlap* o = g.begin(x); o != g.end(x); ++o)
        ASSERT_TRUE(std::find(a.begin(), a.end(), o->to) != a.end()) << "X overlaps B";

    ClonePlaces places(lib.prints.size());
    placeChain(places, a, 1);
    placeChain(places, b, 2);
    places[x] = {1, STEP * 6, STEP * 6 + 26};
    std::vector<char> misfits = findMisfits(lib.prints, {a, b, {x}}, places, s);
    std::vector<int> none(lib.prints.size(), -1);
    // In a library this small, every band is held by more clones than
    // chance gives among thousands: none would count as common.
    MapSettings lookup = s;
    lookup.commonBandFactor = 100;
    std::vector<int> from = findChimeras(g, lib.prints, places, none, lookup);
    for (size_t v = 0; v < lib.prints.size(); ++v) {
        EXPECT_EQ(from[v], (int)v == x ? 2 : 0) << lib.prints[v].clone;
        if ((int)v != x) {
            EXPECT_EQ(misfits[v], 0) << lib.prints[v].clone;
        }
    }
    // Placed with group A its piece fits nowhere.
    std::vector<int> withX = a;
    withX.push_back(x);
    EXPECT_EQ(findMisfits(lib.prints, {withX, b}, places, s)[x], 1);
}

TEST(MapStages, ABranchThatARepeatMakesHangsOnOneClone) {
    Library lib;
    std::vector<int> a = lib.chain("A", 0, 12);
    std::vector<int> b = lib.chain("B", SECOND, 12);
    // A repeat of 22 fragments, in one clone of chain A and in two
    // neighbouring clones of chain B: the two in B witness each other's
    // pair with A's, so the pairs are trusted, and A's clone alone holds
    // the two chains together.
    std::vector<int> repeat = lib.piecesOf({{900, 22}});
    auto withRepeat = [&](int v) {
        std::vector<int> bands = lib.prints[v].bands;
        bands.insert(bands.end(), repeat.begin(), repeat.end());
        std::sort(bands.begin(), bands.end());
        lib.prints[v].bands = bands;
    };
    withRepeat(a[5]);
    withRepeat(b[5]);
    withRepeat(b[6]);
    const MapSettings s = settings();
    OverlapGraph g = trustedGraph(lib.prints, s);
    ASSERT_GE(g.sharedOf(a[5], b[5]), 20);
    ASSERT_GE(g.sharedOf(a[5], b[6]), 20);
    std::vector<char> junctions = findJunctions(g, lib.prints, s);
    for (size_t v = 0; v < lib.prints.size(); ++v)
        EXPECT_EQ(junctions[v], (int)v == a[5]) << lib.prints[v].clone;
    std::vector<std::vector<int>> groups = groupsApart(g, junctions);
    ASSERT_EQ(groups.size(), 2u);
    std::vector<int> restOfA = a;
    restOfA.erase(restOfA.begin() + 5);
    EXPECT_EQ(groups[0], b);
    EXPECT_EQ(groups[1], restOfA);
}

} // namespace mapstages
