// The minimal tiling path on hand-made contigs whose places are given, so
// that the choice is tested apart from the layout: a chain and the ties
// between its covers, clones that are not ok and the ends they reach, a
// chance match the layout does not bear out, and covers that need a weak
// step. Fragment k of the genome is one band at 100 + 5k, so at tolerance
// 1 two clones share exactly the fragments their places share, unless a
// clone's bands are given other fragments.
#include <gtest/gtest.h>

#include <algorithm>

#include "zeTilingPath.h"

namespace {

struct Hand {
    std::string name;
    long left, right;
    CloneStatus status = CloneStatus::Ok;
    // The fragments its bands come from, [from, to), where not its place.
    long from = 0, to = 0;
    std::vector<long> more = {}; // fragments it has besides
    std::vector<int> raw = {};   // bands besides, as they are (near a fragment's, say)
};

struct HandMap {
    std::vector<Fingerprint> prints;
    ContigMap map;
};

HandMap handMap(const std::vector<Hand>& clones) {
    HandMap h;
    h.map.contigs = 1;
    for (const Hand& c : clones) {
        Fingerprint f;
        f.clone = c.name;
        f.gel = "1";
        f.ordinal = (int)h.prints.size() + 1;
        std::vector<long> fragments = c.more;
        for (long k = c.from < c.to ? c.from : c.left; k < (c.from < c.to ? c.to : c.right); ++k)
            fragments.push_back(k);
        std::sort(fragments.begin(), fragments.end());
        for (long k : fragments)
            f.bands.push_back(100 + 5 * (int)k);
        f.bands.insert(f.bands.end(), c.raw.begin(), c.raw.end());
        std::sort(f.bands.begin(), f.bands.end());
        h.prints.push_back(f);
        PlacedClone p;
        p.contig = 1;
        p.left = c.left;
        p.right = c.right;
        p.status = c.status;
        h.map.clones.push_back(p);
    }
    return h;
}

// The path as "name/shared/weak" steps.
std::string path(const std::vector<Hand>& clones, int minShared = DEFAULT_MTP_SHARED) {
    HandMap h = handMap(clones);
    std::vector<std::vector<TilingStep>> paths = tilingPaths(h.prints, h.map, minShared, 1);
    EXPECT_EQ(paths.size(), 1u);
    std::string out;
    for (const TilingStep& s : paths.at(0))
        out += (out.empty() ? "" : " ") + h.prints[s.print].clone +
               (s.shared < 0 ? "" : "/" + std::to_string(s.shared)) + (s.weak ? "/weak" : "");
    return out;
}

const std::vector<Hand> CHAIN = {
    {"A", 0, 20}, {"B", 15, 35}, {"C", 30, 50}, {"D", 45, 65}, {"E", 60, 80}};
// The same bands, each place after A's a band unit longer to the left:
// overlaps of 6 band units in the layout.
const std::vector<Hand> WIDE = {{"A", 0, 20},
                                {"B", 14, 35, CloneStatus::Ok, 15, 35},
                                {"C", 29, 50, CloneStatus::Ok, 30, 50},
                                {"D", 44, 65, CloneStatus::Ok, 45, 65},
                                {"E", 59, 80, CloneStatus::Ok, 60, 80}};

std::vector<Hand> with(std::vector<Hand> clones, const std::vector<Hand>& more) {
    clones.insert(clones.end(), more.begin(), more.end());
    return clones;
}

} // namespace

TEST(TilingPath, ChainTakesTheFewestClonesThenTheStrongestThenTheLowestNames) {
    EXPECT_EQ(path(CHAIN), "A B/5 C/5 D/5 E/5");
    // A long clone sharing 4 bands with A and with E: three clones.
    std::vector<Hand> longer = with(CHAIN, {{"M", 16, 64}});
    EXPECT_EQ(path(longer), "A M/4 E/4");
    // As few clones, but sharing 8 and 6: its weakest step is stronger.
    longer = with(longer, {{"P", 12, 66}});
    EXPECT_EQ(path(longer), "A P/8 E/6");
    // The same places under a lower name.
    EXPECT_EQ(path(with(longer, {{"N", 12, 66}})), "A N/8 E/6");
    // Clones in any order of their places give the same path.
    std::vector<Hand> reversed(longer.rbegin(), longer.rend());
    EXPECT_EQ(path(reversed), "A P/8 E/6");
    // Steps below a higher minimum are weak: M's 4 at 5 or 6, so that the
    // chain of five wins over it, and P's 6 at 7.
    EXPECT_EQ(path(longer, 6), "A P/8 E/6");
    EXPECT_EQ(path(with(CHAIN, {{"M", 16, 64}}), 5), "A B/5 C/5 D/5 E/5");
    EXPECT_EQ(path(longer, 7), "A P/8 E/6/weak");
}

TEST(TilingPath, EndClonesReachPastTheOkClones) {
    // A Q clone spanning everything and a buried one lying inside A are
    // not on the path; a buried clone overhanging the left end and a Q
    // clone overhanging the right end are its ends.
    std::vector<Hand> clones = with(CHAIN, {{"Big", 0, 80, CloneStatus::Q},
                                            {"In", 2, 18, CloneStatus::Buried},
                                            {"Early", -5, 17, CloneStatus::Buried},
                                            {"Late", 70, 84, CloneStatus::Q}});
    EXPECT_EQ(path(clones), "Early A/17 B/5 C/5 D/5 E/5 Late/10");
    // A buried clone may lie between the ends, where it saves clones.
    clones[5].status = CloneStatus::Buried; // Big
    EXPECT_EQ(path(clones), "Early Big/17 Late/10");
    // A buried clone drawn inside A by the layout, though its bands reach
    // 6 fragments further left: its own bands tell.
    clones = with(CHAIN, {{"Drawn", 1, 19, CloneStatus::Buried, -6, 14}});
    EXPECT_EQ(path(clones), "Drawn A/14 B/5 C/5 D/5 E/5");
    // One reaching 2 fragments past A, its place 4 units in: where no
    // clone has bands of its own, its 2 past A tell.
    const Hand near{"Near", 4, 19, CloneStatus::Buried, -2, 14};
    EXPECT_EQ(path(with(CHAIN, {near})), "Near A/14 B/5 C/5 D/5 E/5");
    // Where the clones away from the ends have 3 bands of their own (extra
    // bands, partial end fragments), Near's 2 may be its own: A stays, and
    // a second clone with the same 2 bands past A does not bear them out.
    // Two clones sharing 3 bands past A do, and the one reaching further
    // of the two is taken.
    std::vector<Hand> junky =
        with(CHAIN, {{"I1", 22, 42, CloneStatus::Buried, 22, 42, {2000, 2001, 2002}},
                     {"I2", 30, 50, CloneStatus::Buried, 30, 50, {2010, 2011, 2012}},
                     {"I3", 40, 60, CloneStatus::Buried, 40, 60, {2020, 2021, 2022}}});
    EXPECT_EQ(path(with(junky, {near})), "A B/5 C/5 D/5 E/5");
    EXPECT_EQ(path(with(junky, {{"Near2", 5, 19, CloneStatus::Buried, -2, 12}, near})),
              "A B/5 C/5 D/5 E/5");
    const Hand near3{"Near3", 4, 19, CloneStatus::Buried, -3, 11};
    EXPECT_EQ(path(with(junky, {near3})), "A B/5 C/5 D/5 E/5");
    EXPECT_EQ(path(with(junky, {{"Near3b", 5, 19, CloneStatus::Buried, -3, 10}, near3})),
              "Near3 A/11 B/5 C/5 D/5 E/5");
    // Two clones inside A sharing 3 bands that A lost (3 to 5) bear each
    // other out no more: A keeps 7 bands past either.
    clones =
        with(junky, {{"In1", 2, 10, CloneStatus::Buried}, {"In2", 2, 11, CloneStatus::Buried}});
    clones[0].from = 6;
    clones[0].to = 20;
    clones[0].more = {0, 1, 2};
    EXPECT_EQ(path(clones), "A B/5 C/5 D/5 E/5");
    // An ok clone is the end where a buried one reaches no further.
    clones = with(CHAIN, {{"A2", 0, 20}});
    clones[0].status = CloneStatus::Buried; // A
    EXPECT_EQ(path(clones), "A2 B/5 C/5 D/5 E/5");
    // Of two clones at the same place with 2 extra bands each, the one
    // with a fragment past the other is the end clone by its own bands;
    // the other's 2 are no more than the clones away from the ends have.
    clones = with(junky, {{"Far", 0, 20, CloneStatus::Buried, -1, 19, {1002, 1003}}});
    clones[0].more = {1000, 1001}; // A
    EXPECT_EQ(path(clones), "Far B/4 C/5 D/5 E/5");
    // One clone reaching both ends is the whole path; a contig of buried
    // and Q clones has a path too.
    EXPECT_EQ(path(with(CHAIN, {{"All", -1, 81, CloneStatus::Buried}})), "All");
    EXPECT_EQ(path({{"Q1", 0, 20, CloneStatus::Q}, {"Q2", 10, 30, CloneStatus::Buried}}),
              "Q1 Q2/10");
}

TEST(TilingPath, ClonesPastAnEndByWhereTheyLieAndWhatTheyCover) {
    // Out reaches 3 fragments past A and far enough right that it and B
    // share 4 bands: A adds nothing between them and leaves the path.
    EXPECT_EQ(path(with(CHAIN, {{"Out", 4, 19, CloneStatus::Buried, -3, 19}})),
              "Out B/4 C/5 D/5 E/5");
    // The clones away from the ends have 4 bands of their own, so the
    // places may lie 2 band units off: the chain's overlaps of 5 count 3,
    // and the path goes through the buried clones, which overlap further.
    const std::vector<Hand> junk4 = {
        {"I1", 22, 42, CloneStatus::Buried, 22, 42, {2000, 2001, 2002, 2003}},
        {"I2", 30, 50, CloneStatus::Buried, 30, 50, {2010, 2011, 2012, 2013}},
        {"I3", 40, 60, CloneStatus::Buried, 40, 60, {2020, 2021, 2022, 2023}}};
    EXPECT_EQ(path(with(CHAIN, junk4)), "A B/5/weak I1/13 C/12 I3/10 D/15 E/5/weak");
    // A clone past A needs more than 4 fresh bands, but 4 where its inner
    // end lies 5 band units out of A's, and 6 where it lies no further out
    // than A's, unless it has 2 more than A would keep with it in its
    // place. Overlaps of 6 in the layout make a chain.
    const std::vector<Hand> junky4 = with(WIDE, junk4);
    EXPECT_EQ(path(with(junky4, {{"Out4", 2, 14, CloneStatus::Buried, -4, 12}})),
              "Out4 A/12 B/5 C/5 D/5 E/5");
    EXPECT_EQ(path(with(junky4, {{"Out4", 2, 15, CloneStatus::Buried, -4, 12}})),
              "Out4 A/12 B/5 C/5 D/5 E/5");
    // 4 fresh bands, A keeping 3 (12 to 14, which B lacks): a lead of 1,
    // enough where its inner end lies 3 band units or more out of A's.
    EXPECT_EQ(path(with(junky4, {{"Out4", 2, 17, CloneStatus::Buried, -4, 12}})),
              "Out4 A/12 B/5 C/5 D/5 E/5");
    EXPECT_EQ(path(with(junky4, {{"Out4", 2, 18, CloneStatus::Buried, -4, 12}})),
              "A B/5 C/5 D/5 E/5");
    EXPECT_EQ(path(with(junky4, {{"Long", 3, 19, CloneStatus::Buried, -5, 11}})),
              "Long A/11 B/5 C/5 D/5 E/5");
    EXPECT_EQ(path(with(junky4, {{"Long", 3, 20, CloneStatus::Buried, -5, 11}})),
              "A B/5 C/5 D/5 E/5");
    // A buried clone drawn inside A with 3 fresh bands, no more than the
    // others' junk, but lying over all of A: A would keep none, so the 3
    // lead, and it replaces A.
    EXPECT_EQ(path(with(junky4, {{"Over", 3, 20, CloneStatus::Buried, -3, 20}})),
              "Over B/5 C/5 D/5 E/5");
    // A clone lying well inside the path with 5 bands of junk, and 2 bands
    // that match Out5's past A and A's own, 2 off Out5's: Out5 would keep
    // 3 past A in its place, a lead of 2, but a lead tells nothing where
    // the one lies 13 band units further in. Out5 stays the end.
    std::vector<Hand> inside = with(junky4, {{"Out5", 2, 14, CloneStatus::Buried, -5, 12},
                                             {"Inward", 5, 27, CloneStatus::Buried, 5, 27,
                                              {3000, 3001, 3002, 3003, 3004}, {91, 96}}});
    inside[0].raw = {92, 97}; // A
    EXPECT_EQ(path(inside), "Out5 A/12 B/5 C/5 D/5 E/5");
}

TEST(TilingPath, ClonesThePathDoesWithoutLeaveIt) {
    // The clones away from the ends have 4 bands of their own. Past
    // reaches 6 fragments past A, the core's end clone, and it and B step
    // strongly from one to the other. A's 5 extra bands are C's too: the
    // path has all of A's bands without it, and A leaves the path, though
    // neither of its neighbours there has those 5.
    std::vector<Hand> clones =
        with(WIDE, {{"I1", 22, 42, CloneStatus::Buried, 22, 42, {2000, 2001, 2002, 2003}},
                    {"I2", 30, 50, CloneStatus::Buried, 30, 50, {2010, 2011, 2012, 2013}},
                    {"I3", 40, 60, CloneStatus::Buried, 40, 60, {2020, 2021, 2022, 2023}},
                    {"Past", 4, 20, CloneStatus::Buried, -6, 19}});
    clones[0].more = {3000, 3001, 3002, 3003, 3004}; // A
    clones[2].more = clones[0].more;                 // C
    EXPECT_EQ(path(clones), "Past B/4 C/5 D/5 E/5");
    // Where C has but 1 of them, A brings 4 bands of its own to the path,
    // more than the library's junk (4) less a quarter: it stays.
    clones[2].more = {3000};
    EXPECT_EQ(path(clones), "Past A/19 B/5 C/5 D/5 E/5");
}

TEST(TilingPath, ChanceMatchIsNoOverlap) {
    // B overlaps A by one fragment in the layout but shares 4 bands with it
    // (3 of them chance matches): the step is weak, and the path goes
    // through W though it needs a clone more.
    std::vector<Hand> clones = {
        {"A", 0, 20}, {"B", 19, 40, CloneStatus::Ok, 0, 0, {5, 6, 7}}, {"C", 35, 60}};
    EXPECT_EQ(path(clones), "A B/4/weak C/5");
    EXPECT_EQ(path(with(clones, {{"W", 12, 32}})), "A W/8 B/13 C/5");
    // Nor does a step count whose overlap in the layout is long but whose
    // shared bands are few.
    clones = {{"A", 0, 20}, {"B", 10, 30, CloneStatus::Ok, 17, 37}, {"C", 25, 45}};
    EXPECT_EQ(path(clones), "A B/3/weak C/12");
}

TEST(TilingPath, WeakStepWhereNoCoverMeetsTheMinimum) {
    // A and B share 2 bands: the only cover has a weak step.
    std::vector<Hand> clones = {{"A", 0, 20}, {"B", 18, 40}, {"C", 35, 60}};
    EXPECT_EQ(path(clones), "A B/2/weak C/5");
    // A bridge sharing 3 is taken over one sharing 2, though its name is
    // higher and the path as long.
    clones.push_back({"W", 17, 41});
    EXPECT_EQ(path(clones), "A W/3/weak C/6");
    // One weak step rather than two, though the path is longer.
    EXPECT_EQ(path({{"A", 0, 20}, {"B", 17, 40}, {"C", 37, 60}}), "A B/3/weak C/3/weak");
    EXPECT_EQ(path({{"A", 0, 20}, {"B", 17, 40}, {"C", 37, 60}, {"X", 5, 25}}),
              "A X/15 B/8 C/3/weak");
    // At a lower minimum there is nothing weak.
    EXPECT_EQ(path(clones, 2), "A W/3 C/6");
    // A gap between the ok clones: the clone after it follows, weak.
    EXPECT_EQ(path({{"A", 0, 20}, {"C", 25, 45}, {"D", 30, 50}, {"B", 10, 22}}),
              "A B/10 C/0/weak D/15");
}

TEST(TilingPath, PathsByContigAndTheirSets) {
    HandMap h = handMap(with(CHAIN, {{"Z1", 0, 10}, {"Z2", 5, 15}}));
    h.map.contigs = 3; // contig 2 unused, as after numbers carried over
    h.map.clones[5].contig = 3;
    h.map.clones[6].contig = 3;
    std::vector<std::vector<TilingStep>> paths = tilingPaths(h.prints, h.map, 4, 1);
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[0].size(), 5u);
    EXPECT_TRUE(paths[1].empty());
    ASSERT_EQ(paths[2].size(), 2u);
    EXPECT_EQ(paths[2][1].shared, 5);
    std::vector<std::vector<int>> sets = tilingPrints(paths);
    EXPECT_EQ(sets[0], (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(sets[2], (std::vector<int>{5, 6}));
}

TEST(TilingPath, ShortContigsMeasureJunkOnTheBurials) {
    // Contigs of three clones, where no clone lies away from both ends:
    // the clones buried near each end carry one band of junk each (a
    // fragment of no other clone). Their junk is measured on the burials,
    // so they stay off the path; measured on no clone at all, every one of
    // them would have joined it.
    std::vector<Hand> clones;
    std::vector<int> hosts; // per clone, the one it is buried in, or -1
    const int contigs = 8;
    for (int k = 0; k < contigs; ++k) {
        const long at = 100L * k;
        const int first = (int)clones.size();
        const std::string c = std::to_string(k);
        clones.push_back({"A" + c, at, at + 20});
        clones.push_back({"B" + c, at + 10, at + 30});
        clones.push_back({"C" + c, at + 20, at + 40});
        hosts.insert(hosts.end(), {-1, -1, -1});
        for (int b = 0; b < 4; ++b) {
            const bool left = b % 2 == 0; // in A, else in C
            const long from = left ? at + 1 + b : at + 25 - b;
            clones.push_back({"Z" + c + "_" + std::to_string(b), from, from + 14,
                              CloneStatus::Buried, from, from + 14, {5000 + 10L * (4 * k + b)}});
            hosts.push_back(left ? first : first + 2);
        }
    }
    HandMap h = handMap(clones);
    h.map.contigs = contigs;
    for (size_t i = 0; i < clones.size(); ++i) {
        h.map.clones[i].contig = (int)(clones[i].left / 100) + 1;
        h.map.clones[i].buriedIn = hosts[i];
    }
    std::vector<std::vector<TilingStep>> paths = tilingPaths(h.prints, h.map, 4, 1);
    ASSERT_EQ(paths.size(), (size_t)contigs);
    for (int k = 0; k < contigs; ++k) {
        std::string names;
        for (const TilingStep& s : paths[(size_t)k])
            names += (names.empty() ? "" : " ") + h.prints[(size_t)s.print].clone;
        const std::string c = std::to_string(k);
        EXPECT_EQ(names, "A" + c + " B" + c + " C" + c);
    }
}
