// The repeat stages on small hand-made libraries: a band held by every
// clone is found and masked, while the crowding of fragment sizes is not;
// a repeat shared by clones of several groups makes no pair between them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "zeCommonBands.h"
#include "zeOverlapGraph.h"
#include "zeRepeatBands.h"
#include "zeSulston.h"

namespace {

// A fixed sequence of band positions, 0 .. NORM_SCALE_LENGTH - 1.
struct PositionDraw {
    uint64_t state;
    explicit PositionDraw(uint64_t seed) : state(seed) {}
    int next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return (int)((state >> 33) % NORM_SCALE_LENGTH);
    }
};

// n positions of the draw.
std::vector<int> drawn(PositionDraw& draw, int n) {
    std::vector<int> positions;
    for (int i = 0; i < n; ++i)
        positions.push_back(draw.next());
    return positions;
}

Fingerprint printOf(const std::string& name, std::vector<int> bands) {
    Fingerprint f;
    f.clone = name;
    f.gel = "1";
    std::sort(bands.begin(), bands.end());
    f.bands = bands;
    return f;
}

// Groups of six clones, each group on 25 bands of its own that all six
// hold; clone k of group g also holds `repeat` where holds(g, k).
template <typename Holds>
std::vector<Fingerprint> groupsOfSix(PositionDraw& draw, int groups, const std::vector<int>& repeat,
                                     Holds holds) {
    std::vector<Fingerprint> prints;
    for (int g = 0; g < groups; ++g) {
        const std::vector<int> own = drawn(draw, 25);
        for (int k = 0; k < 6; ++k) {
            std::vector<int> bands = own;
            if (holds(g, k)) bands.insert(bands.end(), repeat.begin(), repeat.end());
            prints.push_back(printOf("g" + std::to_string(g) + "c" + std::to_string(k), bands));
        }
    }
    return prints;
}

// Every pair of the fingerprints that scores within the cutoff.
std::vector<PairScore> allPassingPairs(const std::vector<Fingerprint>& prints, int tolerance,
                                       double cutoff) {
    std::vector<PairScore> pairs;
    for (int a = 0; a < (int)prints.size(); ++a)
        for (int b = a + 1; b < (int)prints.size(); ++b) {
            PairScore p = scorePair(prints, a, b, tolerance);
            if (p.score <= cutoff) pairs.push_back(p);
        }
    return pairs;
}

} // namespace

TEST(CommonBands, ABandInEveryCloneIsMaskedAndNothingElse) {
    PositionDraw draw(3);
    std::vector<Fingerprint> prints;
    for (int k = 0; k < 300; ++k) {
        std::vector<int> bands;
        for (int i = 0; i < 30; ++i)
            bands.push_back(draw.next());
        // Crowded by half again in one stretch, as fragment sizes crowd it.
        for (int i = 0; i < 10; ++i)
            bands.push_back(500 + draw.next() % 300);
        bands.push_back(2000 + k % 3 - 1); // the vector's band, with gel noise
        if (k % 10 != 0) bands.push_back(3000); // in 90% of the clones: kept
        prints.push_back(printOf("c" + std::to_string(k), bands));
    }
    std::vector<BandRange> common = commonBandRanges(prints, 7, 0.95);
    ASSERT_EQ(common, (std::vector<BandRange>{{1993, 2007}})) << common.size();
    std::vector<Fingerprint> masked = withoutBandsIn(prints, common);
    for (size_t k = 0; k < prints.size(); ++k) {
        std::vector<int> expected;
        for (int b : prints[k].bands)
            if (b < 1993 || b > 2007) expected.push_back(b);
        EXPECT_EQ(masked[k].bands, expected) << k;
        EXPECT_EQ(masked[k].clone, prints[k].clone);
    }
    EXPECT_TRUE(commonBandRanges({}, 7, 0.95).empty());
}

TEST(RepeatBands, DepthsCountThePartnersSharingEachBand) {
    std::vector<Fingerprint> prints{printOf("a", {100, 200, 300}), printOf("b", {101, 300}),
                                    printOf("c", {99, 200, 900})};
    std::vector<PairScore> pairs{{0, 1, 2, 0, 0}, {0, 2, 2, 0, 0}, {1, 2, 1, 0, 0}};
    BandDepths d = bandDepths(prints, pairs, 2);
    EXPECT_EQ(d.start, (std::vector<size_t>{0, 3, 5, 8}));
    // a: 100 with b and c, 200 with c, 300 with b; b: 101 with a and c,
    // 300 with a; c: 99 with a and b, 200 with a.
    EXPECT_EQ(d.depth, (std::vector<int>{2, 1, 1, 2, 1, 2, 1, 0}));
    // Shared bands weighed by their partners: 1 x 4, 2 x 6.
    EXPECT_EQ(typicalDepth(d), 2);
    EXPECT_EQ(typicalDepth(BandDepths()), 0);
}

// Eight groups of six clones, each group on 25 bands of its own that all
// six hold. Three clones of each of five groups also hold one repeat of 20
// bands: their pairs across groups pass on the repeat alone.
TEST(RepeatBands, ARepeatSharedByManyGroupsJoinsNone) {
    PositionDraw draw(11);
    const std::vector<int> repeat = drawn(draw, 20);
    std::vector<Fingerprint> prints =
        groupsOfSix(draw, 8, repeat, [](int g, int k) { return g < 5 && k < 3; });
    MapSettings s;
    s.tolerance = 2;
    std::vector<PairScore> pairs = allPassingPairs(prints, s.tolerance, s.cutoff);
    long across = 0;
    for (const PairScore& p : pairs)
        across += p.first / 6 != p.second / 6;
    ASSERT_EQ(across, 5 * 4 / 2 * 9); // every repeat clone with those of the other groups

    RepeatFindings found = withoutRepeatJoins(prints, pairs, s);
    EXPECT_EQ(found.depthLimit, 12); // 2.5 times 5, the partners within a group
    EXPECT_EQ(found.repeatBands, 15 * 20);
    EXPECT_EQ(found.pairsSetAside, across);
    EXPECT_EQ(found.kept.size(), pairs.size() - (size_t)across);
    for (const PairScore& p : found.kept)
        EXPECT_EQ(p.first / 6, p.second / 6) << prints[p.first].clone << " " << prints[p.second].clone;
    // Less their repeat bands, a group's clones are alike.
    const PrintsView plain(prints, &found.plainPrints);
    ASSERT_EQ(plain.size(), prints.size());
    for (size_t k = 0; k < prints.size(); ++k) {
        EXPECT_EQ(plain[k].clone, prints[k].clone);
        EXPECT_EQ(plain[k].bands, prints[k / 6 * 6 + 3].bands) << prints[k].clone;
    }

    // Without the repeat's crowd (one group holds it), nothing is set aside.
    std::vector<Fingerprint> fewer(prints.begin(), prints.begin() + 6);
    fewer.insert(fewer.end(), prints.begin() + 36, prints.end());
    std::vector<PairScore> fewerPairs = allPassingPairs(fewer, s.tolerance, s.cutoff);
    RepeatFindings none = withoutRepeatJoins(fewer, fewerPairs, s);
    EXPECT_EQ(none.pairsSetAside, 0);
    EXPECT_EQ(none.kept.size(), fewerPairs.size());
    EXPECT_TRUE(none.plainPrints.slot.empty());
}

// Two groups of six clones on 25 bands of their own; one clone of each
// also holds a repeat of 20 bands, so the two pass on the repeat alone.
// Thirty clones elsewhere hold 12 of the repeat's bands each: too few to
// pass the build cutoff with the two, enough for the looser depth cutoff.
TEST(RepeatBands, ClonesAtOtherCopiesBelowTheBuildCutoffShowTheRepeat) {
    PositionDraw draw(5);
    const std::vector<int> repeat = drawn(draw, 20);
    std::vector<Fingerprint> prints =
        groupsOfSix(draw, 2, repeat, [](int, int k) { return k == 0; });
    for (int k = 0; k < 30; ++k) {
        std::vector<int> bands = drawn(draw, 25);
        for (int i = 0; i < 12; ++i)
            bands.push_back(repeat[(size_t)((k * 7 + i) % 20)]);
        prints.push_back(printOf("other" + std::to_string(k), bands));
    }
    MapSettings s;
    s.tolerance = 2;
    const std::vector<PairScore> passing = allPassingPairs(prints, s.tolerance, s.cutoff);
    const std::vector<PairScore> loose = allPassingPairs(prints, s.tolerance, s.repeatDepthCutoff);
    ASSERT_GT(loose.size(), passing.size());

    const ScannedPairs scanned = scanWithBandDepths(prints, s);
    ASSERT_EQ(scanned.passing.size(), passing.size());
    for (size_t k = 0; k < passing.size(); ++k) {
        EXPECT_EQ(scanned.passing[k].first, passing[k].first) << k;
        EXPECT_EQ(scanned.passing[k].second, passing[k].second) << k;
    }
    const BandDepths& depths = scanned.depths;
    EXPECT_EQ(depths.depth, bandDepths(prints, loose, s.tolerance).depth);
    // The looser pairs are handed on, those passing the build cutoff not.
    std::vector<std::pair<int, int>> looser;
    for (const PairScore& p : loose)
        if (p.score > s.cutoff) looser.emplace_back(p.first, p.second);
    std::vector<std::pair<int, int>> handedOn = scanned.looser;
    std::sort(handedOn.begin(), handedOn.end());
    std::sort(looser.begin(), looser.end());
    EXPECT_EQ(handedOn, looser);
    // The copy test's witnesses: a graph of them, each pair an edge.
    const OverlapGraph witnesses((int)prints.size(), scanned.looser);
    for (const auto& [a, b] : looser) {
        EXPECT_EQ(witnesses.sharedOf(a, b), 0) << a << "-" << b;
        EXPECT_EQ(witnesses.sharedOf(b, a), 0) << a << "-" << b;
    }
    EXPECT_EQ(witnesses.pairs().size(), looser.size());

    auto joinsTheGroups = [&](const RepeatFindings& found) {
        for (const PairScore& p : found.kept)
            if (p.first < 12 && p.second < 12 && p.first / 6 != p.second / 6) return true;
        return false;
    };
    EXPECT_TRUE(joinsTheGroups(withoutRepeatJoins(prints, passing, s)));
    EXPECT_FALSE(joinsTheGroups(withoutRepeatJoins(prints, passing, depths, s)));

    // A depth cutoff within the build's counts the passing pairs alone.
    s.repeatDepthCutoff = s.cutoff / 10;
    EXPECT_EQ(scanWithBandDepths(prints, s).depths.depth,
              bandDepths(prints, passing, s.tolerance).depth);
}

// Where nearly every pair passes the looser cutoff alone, more pairs than
// the counts take room, the depths are counted as the scan goes: the same.
TEST(RepeatBands, DepthsOfALibraryOfOneSharedRepeat) {
    PositionDraw draw(9);
    const std::vector<int> repeat = drawn(draw, 12);
    std::vector<Fingerprint> prints;
    for (int k = 0; k < 40; ++k) {
        std::vector<int> bands = drawn(draw, 25);
        bands.insert(bands.end(), repeat.begin(), repeat.end());
        prints.push_back(printOf("c" + std::to_string(k), bands));
    }
    MapSettings s;
    s.tolerance = 2;
    const std::vector<PairScore> passing = allPassingPairs(prints, s.tolerance, s.cutoff);
    const std::vector<PairScore> loose = allPassingPairs(prints, s.tolerance, s.repeatDepthCutoff);
    ASSERT_GT(loose.size() - passing.size(), 40u * 37 / 2); // more than the counts' room
    const ScannedPairs scanned = scanWithBandDepths(prints, s);
    EXPECT_EQ(scanned.passing.size(), passing.size());
    EXPECT_EQ(scanned.depths.depth, bandDepths(prints, loose, s.tolerance).depth);
    EXPECT_TRUE(scanned.looser.empty()); // no longer held once counted
}

// Two groups of six clones on 25 bands of their own; clone 0 of the first
// also holds a repeat of 20 bands that thirty clones elsewhere hold 12 of.
// A clone that no other pair holds passes with that clone thanks to the
// repeat: one beside the repeat's copy in the group's own place (10 of
// the group's bands) is brought in, one at another copy (2 of them, what
// chance gives) is not.
TEST(RepeatBands, ALoneCloneComesInOnlyWithBandsBeyondTheRepeat) {
    PositionDraw draw(5);
    const std::vector<int> repeat = drawn(draw, 20);
    std::vector<Fingerprint> library =
        groupsOfSix(draw, 2, repeat, [](int g, int k) { return g == 0 && k == 0; });
    for (int k = 0; k < 30; ++k) {
        std::vector<int> bands = drawn(draw, 25);
        for (int i = 0; i < 12; ++i)
            bands.push_back(repeat[(size_t)((k * 7 + i) % 20)]);
        library.push_back(printOf("other" + std::to_string(k), bands));
    }
    const std::vector<int> groupBands = library[1].bands; // the first group's own

    // Whether the pair of the library's clone 0 and a lone clone of `own`
    // bands of its own, the repeat and `ofGroup` of the group's bands is kept.
    auto keptWithTheGroup = [&](int own, int ofGroup, double loneCutoff) {
        std::vector<Fingerprint> prints = library;
        std::vector<int> bands = drawn(draw, own);
        bands.insert(bands.end(), repeat.begin(), repeat.end());
        bands.insert(bands.end(), groupBands.begin(), groupBands.begin() + ofGroup);
        prints.push_back(printOf("lone", bands));
        const int lone = (int)prints.size() - 1;
        MapSettings s;
        s.tolerance = 2;
        s.repeatLoneCutoff = loneCutoff;
        const ScannedPairs scanned = scanWithBandDepths(prints, s);
        auto hasPair = [&](const std::vector<PairScore>& pairs) {
            for (const PairScore& p : pairs)
                if (p.first == 0 && p.second == lone) return true;
            return false;
        };
        EXPECT_TRUE(hasPair(scanned.passing)) << own << " " << ofGroup;
        return hasPair(withoutRepeatJoins(prints, scanned.passing, scanned.depths, s).kept);
    };
    const double loneCutoff = MapSettings().repeatLoneCutoff;
    EXPECT_TRUE(keptWithTheGroup(15, 10, loneCutoff));
    EXPECT_FALSE(keptWithTheGroup(25, 2, loneCutoff));
    // Taking every lone clone in, as long as it points to one group, takes both.
    EXPECT_TRUE(keptWithTheGroup(25, 2, 1));
}
