// The crowded-bands test of a pair: two clones sharing many bands only
// where the library's bands crowd the scale are set aside though the plain
// score passes them, in the map too, a true overlap where the bands lie
// sparse passes, a pair set aside comes back when a third clone that passes
// with both lies where their offsets say, and a library evenly spread or
// too small leaves the plain score as it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "zeCrowdedBands.h"
#include "zeMapBuild.h"
#include "zePairScan.h"
#include "zeSulston.h"

namespace {

// Bands far enough apart (16) to be told apart at tolerance 7: `count` of
// them from `from` on.
std::vector<int> apartBands(int from, int count) {
    std::vector<int> bands;
    for (int k = 0; k < count; ++k)
        bands.push_back(from + 16 * k);
    return bands;
}

std::vector<int> unionOf(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    std::sort(a.begin(), a.end());
    return a;
}

Fingerprint fingerprint(const std::string& name, std::vector<int> bands) {
    Fingerprint f;
    f.clone = name;
    f.bands = std::move(bands);
    return f;
}

// 100 clones of 40 bands, 36 of them spread over 3000 .. 4199 (a fixed
// generator) and 4 over 0 .. 2999: the library of a genome of small
// fragments.
std::vector<Fingerprint> crowdedLibrary() {
    std::vector<Fingerprint> prints;
    unsigned state = 12345;
    const auto next = [&state](int range) {
        state = state * 1103515245u + 12345u;
        return (int)((state >> 8) % (unsigned)range);
    };
    for (int c = 0; c < 100; ++c) {
        std::vector<int> bands;
        for (int k = 0; k < 36; ++k)
            bands.push_back(3000 + next(1200));
        for (int k = 0; k < 4; ++k)
            bands.push_back(next(3000));
        std::sort(bands.begin(), bands.end());
        prints.push_back(fingerprint("L" + std::to_string(c), bands));
    }
    return prints;
}

// The pair of clones a and b, scored, with its indices.
PairScore scoredPair(const std::vector<Fingerprint>& prints, int a, int b) {
    PairScore p = scorePair(prints, a, b, 7);
    p.first = a, p.second = b;
    return p;
}

} // namespace

TEST(CrowdedBands, ChanceSharingWhereBandsCrowdIsSetAside) {
    std::vector<Fingerprint> prints = crowdedLibrary();
    // A and B share 24 of their 40 bands, all where the library crowds,
    // and nothing else: 3e-13 as if evenly spread, 5e-4 here.
    const std::vector<int> common = apartBands(3100, 24);
    prints.push_back(fingerprint("A", unionOf(common, apartBands(3500, 16))));
    prints.push_back(fingerprint("B", unionOf(common, apartBands(3760, 16))));
    // C and D truly overlap where the bands lie sparse: 24 shared of 40.
    const std::vector<int> overlap = apartBands(400, 24);
    prints.push_back(fingerprint("C", unionOf(overlap, apartBands(1000, 16))));
    prints.push_back(fingerprint("D", unionOf(overlap, apartBands(1500, 16))));
    const int a = 100, b = 101, c = 102, d = 103;

    const PairScore chance = scoredPair(prints, a, b), overlapping = scoredPair(prints, c, d);
    ASSERT_EQ(chance.shared, 24);
    ASSERT_EQ(overlapping.shared, 24);
    ASSERT_LE(chance.score, 1e-12); // the plain score passes both
    ASSERT_LE(overlapping.score, 1e-12);

    const CrowdedBands crowded = crowdedBands(prints, 7);
    ASSERT_TRUE(crowded.crowdingKnown());
    // 100 clones' 36 bands over 1200 positions: 15 positions hold 45 of
    // the 4,160 bands, q = 0.0101 (times 14/15); 2 where they lie sparse.
    EXPECT_NEAR(crowded.bandChance(3500), 45.0 / 4160 * 14 / 15, 0.003);
    EXPECT_LT(crowded.bandChance(2000), crowded.bandChance(3500) / 5);
    EXPECT_GT(crowded.score(prints[a].bands, prints[b].bands, 24), 1e-4);
    EXPECT_LT(crowded.score(prints[c].bands, prints[d].bands, 24), 1e-20);

    const std::vector<PairScore> kept =
        crowdedPassing(crowded, prints, {chance, overlapping}, 1e-6).pairs;
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].first, c);
    // The quick bound and the sum decide alike.
    for (int m = 0; m <= 40; ++m) {
        const double s = crowded.score(prints[a].bands, prints[b].bands, m);
        EXPECT_EQ(crowded.passes(prints[a].bands, prints[b].bands, m, 1e-6), s <= 1e-6) << m;
    }

    // The map: C and D make a contig, A and B none, the test off they do
    // (the repeat bands counted over the passing pairs alone: the crowded
    // library's looser pairs would make A's and B's shared bands repeat
    // bands too).
    MapSettings settings;
    settings.repeatDepthCutoff = settings.cutoff;
    ContigMap map = buildMap(prints, settings);
    EXPECT_EQ(map.crowdedPairsSetAside, 1);
    EXPECT_EQ(map.clones[a].contig, 0);
    EXPECT_NE(map.clones[c].contig, 0);
    EXPECT_EQ(map.clones[d].contig, map.clones[c].contig);
    settings.crowdedPower = 0;
    map = buildMap(prints, settings);
    EXPECT_EQ(map.crowdedPairsSetAside, 0);
    EXPECT_NE(map.clones[a].contig, 0);
    EXPECT_EQ(map.clones[b].contig, map.clones[a].contig);
}

TEST(CrowdedBands, SetAsidePairComesBackOnlyWithAWitnessWhereTheOffsetsAgree) {
    // A and B share 24 crowded bands, as above, and fail the test. Z holds
    // both (56 bands): 8 bands from each centre, 16 = 8 + 8 from A's to B's,
    // as their own offset says. W holds both and 28 sparse bands more:
    // 22 from each, its 44 and 0 both far from 16.
    const std::vector<int> common = apartBands(3100, 24);
    const std::vector<int> a = unionOf(common, apartBands(3500, 16));
    const std::vector<int> b = unionOf(common, apartBands(3760, 16));
    const std::vector<int> z = unionOf(a, apartBands(3760, 16));
    const std::vector<int> w = unionOf(z, apartBands(200, 28));
    const auto selection = [&](const std::vector<int>& witness, const CrowdedWitnesses& rule) {
        std::vector<Fingerprint> prints = crowdedLibrary();
        prints.push_back(fingerprint("A", a));
        prints.push_back(fingerprint("B", b));
        prints.push_back(fingerprint("Z", witness));
        const CrowdedBands crowded = crowdedBands(prints, 7);
        const std::vector<PairScore> pairs = {scoredPair(prints, 100, 101),
                                              scoredPair(prints, 100, 102),
                                              scoredPair(prints, 101, 102)};
        for (const PairScore& p : pairs)
            EXPECT_LE(p.score, 1e-12) << p.first << " " << p.second;
        return crowdedPassing(crowded, prints, pairs, 1e-6, rule);
    };
    CrowdedWitnesses rule;
    rule.least = 1;
    rule.offsetSlack = 10;

    CrowdedSelection agreeing = selection(z, rule);
    EXPECT_EQ(agreeing.setAside, 1);
    EXPECT_EQ(agreeing.restored, 1);
    ASSERT_EQ(agreeing.pairs.size(), 3u); // in the order given
    EXPECT_EQ(agreeing.pairs[0].second, 101);
    EXPECT_EQ(agreeing.pairs[1].second, 102);

    CrowdedSelection far = selection(w, rule);
    EXPECT_EQ(far.setAside, 1);
    EXPECT_EQ(far.restored, 0);
    ASSERT_EQ(far.pairs.size(), 2u);
    EXPECT_EQ(far.pairs[0].second, 102);
    // Within 16 bands, W agrees too.
    rule.offsetSlack = 16;
    EXPECT_EQ(selection(w, rule).restored, 1);

    // Two witnesses asked for, or none: Z alone restores nothing.
    rule.least = 2;
    EXPECT_EQ(selection(z, rule).restored, 0);
    EXPECT_EQ(selection(z, CrowdedWitnesses()).restored, 0);
}

TEST(CrowdedBands, EvenBandsScoreAsThePlainScore) {
    // 200 clones of 46 bands at every 100th position, offset by clone:
    // two bands at every position, so each band away from the scale's
    // ends has the plain b, and the crowded score is the plain one (every
    // band with one chance: a binomial).
    std::vector<Fingerprint> prints;
    for (int c = 0; c < 200; ++c) {
        std::vector<int> bands;
        for (int k = 0; k < 46; ++k)
            bands.push_back(k * 100 + c % 100);
        prints.push_back(fingerprint("E" + std::to_string(c), bands));
    }
    const CrowdedBands even = crowdedBands(prints, 7);
    const std::vector<int>& x = prints[50].bands;
    const std::vector<int>& y = prints[51].bands;
    EXPECT_NEAR(even.bandChance(x[3]), 14.0 / 4600, 1e-9);
    for (int m : {1, 5, 12, 30, 46})
        EXPECT_NEAR(std::log(even.score(x, y, m)), sulstonLogScore(m, 46, 46, 7), 1e-6) << m;
    EXPECT_EQ(even.score(x, y, 0), 1);
    EXPECT_EQ(even.score(x, y, 47), 0);
}

TEST(CrowdedBands, SmallLibraryPassesEveryPair) {
    // 40 clones of 40 bands: fewer than LEAST_BANDS_FOR_CROWDING.
    std::vector<Fingerprint> prints;
    for (int c = 0; c < 40; ++c)
        prints.push_back(fingerprint("S" + std::to_string(c), apartBands(3000 + c % 3, 40)));
    const CrowdedBands small = crowdedBands(prints, 7);
    EXPECT_FALSE(small.crowdingKnown());
    EXPECT_EQ(crowdedPassing(small, prints, {scoredPair(prints, 0, 1)}, 1e-300).pairs.size(), 1u);
    EXPECT_EQ(small.score(prints[0].bands, prints[1].bands, 40), 1);
}
