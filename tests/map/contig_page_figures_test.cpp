// The figures behind zeContig's page, on small hand-made maps: N50 (an odd
// total, ties), contigs binned by clones, the counts of each status, and a
// contig's rows with buried clones folded into the clone at the top of
// their chain, its depth of clones and the cap on drawn clones; and the
// page marking a tiling path only when one is given and printing the
// settings that ran.
#include <gtest/gtest.h>

#include "zeContigPage.h"
#include "zeContigRows.h"
#include "zeContigStats.h"

namespace {

PlacedClone placed(int contig, long left, long right, CloneStatus status = CloneStatus::Ok,
                   int buriedIn = -1) {
    PlacedClone c;
    c.contig = contig;
    c.left = left;
    c.right = right;
    c.status = status;
    c.buriedIn = buriedIn;
    return c;
}

// Contig 1: a 0-10, b 2-6 buried in a, c 5-15 Q, d 6-9 buried in b, e
// 12-20; contig 2: f, g; h alone; x chimeric between 1 and 2.
ContigMap handMap() {
    ContigMap map;
    map.contigs = 2;
    map.clones = {placed(1, 0, 10),
                  placed(1, 2, 6, CloneStatus::Buried, 0),
                  placed(1, 5, 15, CloneStatus::Q),
                  placed(1, 6, 9, CloneStatus::Buried, 1),
                  placed(1, 12, 20),
                  placed(2, 0, 30),
                  placed(2, 20, 44),
                  placed(0, -1, -1),
                  placed(0, -1, -1, CloneStatus::Chimeric)};
    map.clones[8].links = {1, 2};
    return map;
}

std::vector<Fingerprint> namesOf(const std::vector<std::string>& names) {
    std::vector<Fingerprint> prints;
    for (const std::string& n : names)
        prints.push_back({n, "1", {}, (int)prints.size() + 1});
    return prints;
}

// The hand-made map with its fingerprints, as the page reads them.
struct HandPage {
    ContigMap map = handMap();
    std::vector<Fingerprint> prints = namesOf({"a", "b", "c", "d", "e", "f", "g", "h", "x"});
    ContigPageInput in;
    HandPage() {
        in.files = {"1.bands"};
        in.prints = &prints;
        in.map = &map;
    }
};

} // namespace

TEST(ContigPageFigures, N50) {
    EXPECT_EQ(n50({}), 0);
    EXPECT_EQ(n50({10}), 10);
    EXPECT_EQ(n50({1, 8, 1}), 8);
    // Half of 10 is reached at the second 3.
    EXPECT_EQ(n50({2, 3, 2, 3}), 3);
    // Exactly half counts.
    EXPECT_EQ(n50({1, 1, 4, 1, 1}), 4);
    // 5 of 11 falls short of half; 5 + 4 does not.
    EXPECT_EQ(n50({2, 4, 5}), 4);
}

TEST(ContigPageFigures, SizesCountsAndBins) {
    ContigMap map = handMap();
    std::vector<ContigSize> sizes = contigSizes(map);
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(sizes[0].clones, 5);
    EXPECT_EQ(sizes[0].length, 20);
    EXPECT_EQ(sizes[1].clones, 2);
    EXPECT_EQ(sizes[1].length, 44);

    MapCounts n = mapCounts(map);
    EXPECT_EQ(n.fingerprints, 9);
    EXPECT_EQ(n.inContigs, 7);
    EXPECT_EQ(n.singletons, 1);
    EXPECT_EQ(n.buried, 2);
    EXPECT_EQ(n.q, 1);
    EXPECT_EQ(n.chimeric, 1);

    std::vector<ContigSize> many;
    for (long clones : {2, 40, 3, 4, 5, 9, 1})
        many.push_back({clones, 0});
    std::vector<SizeBin> bins = sizeBins(many);
    const std::vector<std::vector<long>> expected = {
        {2, 2, 1, 2}, {3, 4, 2, 7}, {5, 8, 1, 5}, {9, 16, 1, 9}, {17, 32, 0, 0}, {33, 64, 1, 40}};
    ASSERT_EQ(bins.size(), expected.size());
    for (size_t k = 0; k < bins.size(); ++k)
        EXPECT_EQ((std::vector<long>{bins[k].lowest, bins[k].highest, bins[k].contigs,
                                     bins[k].clones}),
                  expected[k])
            << k;
    EXPECT_TRUE(sizeBins({}).empty());
}

TEST(ContigPageFigures, RowsFoldBuriedClonesAndDepthFollowsTheClones) {
    ContigMap map = handMap();
    std::vector<Fingerprint> prints = namesOf({"a", "b", "c", "d", "e", "f", "g", "h", "x"});
    std::vector<std::vector<int>> members = contigMembers(prints, map, 5);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0], (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(members[1], (std::vector<int>{5, 6}));
    EXPECT_EQ(chimericLinks(map, 1), (std::vector<std::vector<int>>{{8}}));

    DrawingRows r = drawingRows(map, 1, members[0]);
    EXPECT_EQ(r.length, 20);
    EXPECT_EQ(r.clones, 5);
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0].print, 0);
    // d lies in b, which lies in a: both in a's row.
    EXPECT_EQ(r.rows[0].folded, (std::vector<int>{1, 3}));
    EXPECT_EQ(r.rows[1].print, 2);
    EXPECT_EQ(r.rows[2].print, 4);
    EXPECT_EQ(r.clonesLeftOut, 0);
    std::vector<std::vector<long>> steps;
    for (const DepthStep& s : r.depth)
        steps.push_back({s.from, s.to, s.depth});
    EXPECT_EQ(steps, (std::vector<std::vector<long>>{
                         {0, 2, 1}, {2, 5, 2}, {5, 9, 3}, {9, 10, 2}, {10, 12, 1}, {12, 15, 2},
                         {15, 20, 1}}));
}

TEST(ContigPageFigures, TiesKeepTheTablesOrderAndLongContigsAreCut) {
    ContigMap map;
    map.contigs = 1;
    std::vector<std::string> names;
    for (long k = 0; k < MOST_DRAWN_CLONES + 5; ++k) {
        map.clones.push_back(placed(1, k / 2, k / 2 + 30));
        // Pairs at one place sort by name, against their fingerprint order.
        names.push_back(std::string(k % 2 ? "a" : "b") + std::to_string(k));
    }
    std::vector<Fingerprint> prints = namesOf(names);
    std::vector<int> members = contigMembers(prints, map, 1).at(0);
    ASSERT_EQ(members.size(), names.size());
    EXPECT_EQ((std::vector<int>(members.begin(), members.begin() + 4)),
              (std::vector<int>{1, 0, 3, 2}));
    DrawingRows r = drawingRows(map, 1, members);
    EXPECT_EQ((long)r.rows.size(), MOST_DRAWN_CLONES);
    EXPECT_EQ(r.clonesLeftOut, 5);
    EXPECT_EQ(r.rows.front().print, 1);
}

TEST(ContigPageFigures, PageMarksTheTilingPathOnlyWhenGiven) {
    HandPage hand;
    ContigPageInput& in = hand.in;
    std::vector<Fingerprint>& prints = hand.prints;
    std::string plain = contigPage(in);
    EXPECT_EQ(plain.find(" mtp\""), std::string::npos);
    EXPECT_NE(plain.find("No tiling path is marked."), std::string::npos);

    // a (a row), b (buried, folded into a's row) and f (contig 2).
    in.tilingPath = {1, 1, 0, 0, 0, 1, 0, 0, 0};
    std::string marked = contigPage(in);
    EXPECT_NE(marked.find("<rect class=\"ok mtp\" x=\"150.0\" y=\"5.0\""), std::string::npos);
    EXPECT_NE(marked.find("<rect class=\"bur mtp\""), std::string::npos);
    EXPECT_NE(marked.find("; 2 buried, 1 Q, 2 on the tiling path."), std::string::npos);
    EXPECT_NE(marked.find("; 0 buried, 0 Q, 1 on the tiling path."), std::string::npos);
    EXPECT_NE(marked.find("on the tiling path</text>"), std::string::npos);

    ContigMap none;
    none.clones.resize(prints.size());
    in.map = &none;
    in.tilingPath.clear();
    std::string empty = contigPage(in);
    EXPECT_NE(empty.find("<p>No contig to draw."), std::string::npos);
    EXPECT_NE(empty.find("<p>No contig: no two clones overlap"), std::string::npos);
    EXPECT_NE(empty.find("<th>Singletons</th><td>9 (100.0%)"), std::string::npos);
}

TEST(ContigPageFigures, PagePrintsTheSettingsThatRan) {
    HandPage hand;
    ContigPageInput& in = hand.in;
    in.settings.tolerance = 3;
    in.settings.mostPairsTried = 123;
    in.settings.buriedShare = 0.8;
    in.settings.fitSupport = 5;
    in.settings.homesNeeded = 4;
    in.mtpShared = 6;
    in.settings.repeatLoneCutoff = 0.02;
    std::string page = contigPage(in);
    for (const char* shown : {"<td>3 standard units", "at most 123 pairs", "at least 80% of its bands",
                              "explained when 5 clones", "; 4 clones within one clone length",
                              "fewer than 6 bands are weak", "only scoring at most 0.02 on the other"})
        EXPECT_NE(page.find(shown), std::string::npos) << shown;
    // The path's junk allowance is measured, and shown only where a path was chosen.
    EXPECT_EQ(page.find("on this library"), std::string::npos);
    in.pathJunk = 5;
    EXPECT_NE(contigPage(in).find("</code>): 5 on this library"), std::string::npos);
}
