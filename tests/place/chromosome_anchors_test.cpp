// The anchoring rule of zePlace --chromosomes on hand-made contigs: shared
// markers anchor, stray hits neither anchor nor make a conflict, two
// chromosomes, a jump along the map or a marker-less end longer than the
// map allows do, and the strand and the order follow the map.
#include <gtest/gtest.h>

#include "zeChromosomeAnchors.h"

#include <cmath>

#include "zeContigExtent.h"

namespace {

// chr1: markers 0..19 at 100, 200, ...; chr2: markers 20..39 likewise.
MarkerMap twoChromosomes() {
    MarkerMap m;
    for (int c = 0; c < 2; ++c)
        for (int k = 0; k < 20; ++k) {
            double at = 100.0 * (k + 1);
            m.add("m" + std::to_string(c * 20 + k), c ? "chr2" : "chr1", at, std::to_string((int)at));
        }
    return m;
}

// A contig of clones [10 k, 10 k + 30) for k = 0 .. clones - 1.
AnchorContig contigOf(int number, int clones) {
    AnchorContig c;
    c.contig = number;
    c.clones = clones;
    c.left = 0;
    c.right = 10 * (clones - 1) + 30;
    return c;
}

// Marker `marker` hits clones first .. last of the contig.
void hit(AnchorContig& c, size_t marker, int first, int last) {
    for (int k = first; k <= last; ++k)
        c.hits.push_back({10L * k, 10L * k + 30, (size_t)k, marker, false});
}

ContigAnchor anchorOne(const AnchorContig& c, const MarkerMap& m) {
    std::vector<bool> out(m.names.size(), false), counted(m.names.size(), true);
    return anchorContig(c, m, out, mapRanks(m, counted));
}

TEST(ChromosomeAnchors, AMarkerSitsWhereMostOfItsClonesOverlap) {
    AnchorContig c = contigOf(1, 10);
    hit(c, 3, 2, 4);  // clones [20,50) [30,60) [40,70): all three over [40, 50)
    hit(c, 5, 8, 8);  // one clone
    std::vector<MarkerOnContig> on = markersOnContig(c, std::vector<bool>(40, false));
    ASSERT_EQ(on.size(), 2u);
    EXPECT_EQ(on[0].marker, 3u);
    EXPECT_EQ(on[0].depth, 3);
    EXPECT_DOUBLE_EQ(on[0].at, 45);
    EXPECT_EQ(on[1].depth, 1);
    std::vector<bool> out(40, false);
    out[3] = true;
    EXPECT_EQ(markersOnContig(c, out).size(), 1u);
}

TEST(ChromosomeAnchors, RepeatProbesHitFarMoreClonesThanTheMedian) {
    std::vector<bool> r = repeatProbes({9, 10, 8, 0, 29, 30, 11, 9});
    // Median 9.5 of the markers with hits: more than 3 x 9.5 + 2 = 30.5.
    EXPECT_EQ(r, (std::vector<bool>{false, false, false, false, false, false, false, false}));
    r = repeatProbes({9, 10, 8, 95, 9});
    EXPECT_TRUE(r[3]);
    EXPECT_FALSE(r[0]);
}

TEST(ChromosomeAnchors, SharedMarkersAnchorAndStrayHitsAreIgnored) {
    MarkerMap m = twoChromosomes();
    AnchorContig c = contigOf(1, 12);
    hit(c, 2, 0, 2);
    hit(c, 3, 4, 6);
    hit(c, 4, 8, 10);
    hit(c, 30, 5, 5); // a false hit, or a chimeric clone's other piece, on chr2
    ContigAnchor a = anchorOne(c, m);
    EXPECT_EQ(a.status, AnchorStatus::Anchored);
    ASSERT_EQ(a.chromosomes, std::vector<size_t>{0});
    EXPECT_EQ(a.markers.size(), 3u);
    EXPECT_EQ(m.positionText[a.lowest], "300");
    EXPECT_EQ(m.positionText[a.highest], "500");
}

TEST(ChromosomeAnchors, AContigJoinedAcrossTwoChromosomesIsAConflict) {
    MarkerMap m = twoChromosomes();
    AnchorContig c = contigOf(1, 12);
    hit(c, 2, 0, 2);
    hit(c, 3, 3, 5);
    hit(c, 31, 7, 9);
    hit(c, 32, 9, 11);
    ContigAnchor a = anchorOne(c, m);
    EXPECT_EQ(a.status, AnchorStatus::Conflict);
    EXPECT_EQ(a.chromosomes, (std::vector<size_t>{0, 1}));
}

TEST(ChromosomeAnchors, LoneHitsAnchorOnlyInPairsOrConfirmed) {
    MarkerMap m = twoChromosomes();
    AnchorContig one = contigOf(1, 6);
    hit(one, 7, 2, 2);
    EXPECT_EQ(anchorOne(one, m).status, AnchorStatus::Unanchored);
    AnchorContig two = one;
    hit(two, 25, 5, 5); // lone hits of two chromosomes: neither is supported
    EXPECT_EQ(anchorOne(two, m).status, AnchorStatus::Unanchored);
    AnchorContig pair = one;
    hit(pair, 8, 5, 5); // two markers of chr1 on distinct clones
    ContigAnchor a = anchorOne(pair, m);
    EXPECT_EQ(a.status, AnchorStatus::Anchored);
    EXPECT_EQ(a.chromosomes, std::vector<size_t>{0});
    AnchorContig confirmed = two;
    confirmed.hits[1].confirmed = true; // marker 25's lone hit, confirmed by the bands
    a = anchorOne(confirmed, m);
    EXPECT_EQ(a.status, AnchorStatus::Anchored);
    EXPECT_EQ(a.chromosomes, std::vector<size_t>{1});
}

TEST(ChromosomeAnchors, AJumpAlongTheMapOrNoOrderAtAllIsAConflict) {
    MarkerMap m = twoChromosomes();
    AnchorContig c = contigOf(1, 12);
    hit(c, 2, 0, 2);
    hit(c, 3, 4, 6);
    hit(c, 17, 8, 10); // 14 places on along the map
    EXPECT_EQ(anchorOne(c, m).status, AnchorStatus::Conflict);
    AnchorContig mixed = contigOf(2, 16);
    for (int k : {0, 1, 2, 3})
        hit(mixed, (size_t)(std::vector<int>{9, 6, 7, 8}[(size_t)k]), 3 * k, 3 * k + 2);
    EXPECT_EQ(anchorOne(mixed, m).status, AnchorStatus::Conflict); // half the pairs against
    AnchorContig swapped = contigOf(3, 16);
    for (int k : {0, 1, 2, 3})
        hit(swapped, (size_t)(std::vector<int>{5, 7, 6, 8}[(size_t)k]), 3 * k, 3 * k + 2);
    EXPECT_EQ(anchorOne(swapped, m).status, AnchorStatus::Anchored); // neighbours swapped: noise
}

TEST(ChromosomeAnchors, StrandAndOrderFollowTheMap) {
    MarkerMap m = twoChromosomes();
    std::vector<AnchorContig> contigs;
    // Four contigs of chr1, each with three markers 10 units apart; the
    // second and fourth run against the map.
    for (int n = 0; n < 4; ++n) {
        AnchorContig c = contigOf(n + 1, 8);
        for (int k = 0; k < 3; ++k) {
            size_t marker = (size_t)(n * 4 + (n % 2 ? 2 - k : k));
            hit(c, marker, 2 * k, 2 * k + 1);
        }
        contigs.push_back(c);
    }
    AnchorContig none = contigOf(9, 3);
    contigs.insert(contigs.begin(), none);
    std::vector<ContigAnchor> a = anchorContigs(contigs, m, std::vector<bool>(40, false));
    ASSERT_EQ(a.size(), 5u);
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(a[(size_t)n].contig, n + 1);
        EXPECT_EQ(a[(size_t)n].status, AnchorStatus::Anchored);
        EXPECT_EQ(a[(size_t)n].strand, n % 2 ? -1 : 1) << "contig " << n + 1;
    }
    EXPECT_EQ(a[4].contig, 9);
    EXPECT_EQ(a[4].status, AnchorStatus::Unanchored);
}

TEST(ChromosomeAnchors, TheStrandAlsoTakesLoneHitsNextToTheContigsMarkers) {
    MarkerMap m = twoChromosomes();
    AnchorContig c = contigOf(1, 12);
    hit(c, 4, 0, 2);
    hit(c, 5, 3, 5);
    hit(c, 6, 9, 9);  // the map's next marker, on the end clone
    hit(c, 9, 7, 7);  // a stray hit three places on
    hit(c, 25, 8, 8); // and one of chr2
    ContigAnchor a = anchorOne(c, m);
    ASSERT_EQ(a.status, AnchorStatus::Anchored);
    ASSERT_EQ(a.markers.size(), 2u);
    std::vector<bool> counted(m.names.size(), true);
    std::vector<MarkerOnContig> s =
        strandMarkers(a, markersOnContig(c, std::vector<bool>(40, false)), m, mapRanks(m, counted));
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].marker, 4u);
    EXPECT_EQ(s[1].marker, 5u);
    EXPECT_EQ(s[2].marker, 6u);
}

TEST(ChromosomeAnchors, TheMapsGapsBetweenCountedMarkers) {
    MarkerMap m = twoChromosomes();
    std::vector<bool> counted(m.names.size(), true);
    counted[5] = false; // a repeat probe, or a marker that hit no contig
    MarkerGaps g = markerGaps(m, counted);
    EXPECT_TRUE(std::isinf(g.below[0]));
    EXPECT_DOUBLE_EQ(g.above[0], 100);
    EXPECT_DOUBLE_EQ(g.above[4], 200);
    EXPECT_DOUBLE_EQ(g.below[6], 200);
    EXPECT_TRUE(std::isinf(g.above[19]));
    EXPECT_TRUE(std::isinf(g.below[20])); // chr2 starts afresh
    EXPECT_TRUE(std::isinf(g.above[5]));
}

// A contig of chr1 on markers 3 and 4 at 20 and 40 of [0, right), 5 map
// units per contig unit, the map's noise 10: 40 of slack.
bool runsPastTheMap(long right, int strand, std::vector<MarkerOnContig> more = {}) {
    MarkerMap m = twoChromosomes();
    std::vector<bool> counted(m.names.size(), true);
    counted[5] = false; // the gap above marker 4: 200
    ContigAnchor a;
    a.status = AnchorStatus::Anchored;
    a.chromosomes = {0};
    a.strand = strand;
    std::vector<MarkerOnContig> on = {{3, 20, 3, false}, {4, 40, 3, false}};
    on.insert(on.end(), more.begin(), more.end());
    MapCalibration calibration{true, 5, 10};
    return extentContradictsMap(a, on, m, markerGaps(m, counted), calibration, 0, right);
}

TEST(ChromosomeAnchors, AMarkerlessSideLongerThanTheMapsGapIsAConflict) {
    EXPECT_FALSE(runsPastTheMap(60, 0)); // ends of 100 and 100: within both gaps
    // A false join: 600 beyond marker 4, where the map puts marker 6 200 on.
    EXPECT_TRUE(runsPastTheMap(160, 0));
    EXPECT_TRUE(runsPastTheMap(160, 1));
    // 200 on the right fits the gap above, not the one below (100 + 40).
    EXPECT_FALSE(runsPastTheMap(80, 0));
    EXPECT_FALSE(runsPastTheMap(80, 1));
    EXPECT_TRUE(runsPastTheMap(80, -1));
    // A lone hit of marker 6 out there vouches for the side.
    EXPECT_FALSE(runsPastTheMap(160, 0, {{6, 140, 1, false}}));
}

} // namespace
