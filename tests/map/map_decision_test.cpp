// The end of the map's build: each clone's status decided once from the
// stages' findings (a junction, a chimera, a group that dissolves, a Q
// clone that would be buried, a buried one), the contigs numbered and
// turned, and buildMap on a chain with a buried clone overhanging its end
// and a chimeric clone bridging it to a second chain.
#include <gtest/gtest.h>

#include <algorithm>

#include "zeContigNumbers.h"
#include "zeMapBuild.h"
#include "zeMapDecision.h"

namespace mapdecision {

PairScore edge(int first, int second) {
    PairScore p;
    p.first = first;
    p.second = second;
    p.shared = 10;
    return p;
}

PlacedClone at(int contig, long left, long right) {
    PlacedClone c;
    c.contig = contig;
    c.left = left;
    c.right = right;
    return c;
}

TEST(MapDecision, EachClonesStatusFromTheFindings) {
    // Group 1: 0-3; group 2: 4, 5; group 3: 6, 7, of which 7 has a piece
    // from group 1; 8 a junction overlapping 0, 4 and 6.
    OverlapGraph g(9, {edge(0, 8), edge(4, 8), edge(6, 8)});
    MapFindings f;
    f.junctions = {0, 0, 0, 0, 0, 0, 0, 0, 1};
    f.places = {{1, 0, 10}, {1, 5, 15}, {1, 6, 12}, {1, 8, 14}, {2, 0, 10},
                {2, 4, 20}, {3, 0, 10}, {3, 3, 9},  {0, -1, -1}};
    f.misfits = {0, 0, 1, 0, 0, 0, 0, 0, 0};
    f.pieceFrom = {0, 0, 0, 0, 0, 0, 0, 1, 0};
    f.buriedIn = {-1, -1, 0, 1, -1, -1, -1, -1, -1};
    ContigMap map = decideMap(g, f);
    ASSERT_EQ(map.clones.size(), 9u);
    EXPECT_EQ(map.contigs, 3);

    const std::vector<CloneStatus> status = {
        CloneStatus::Ok, CloneStatus::Ok, CloneStatus::Q,  CloneStatus::Buried,  CloneStatus::Ok,
        CloneStatus::Ok, CloneStatus::Ok, CloneStatus::Chimeric, CloneStatus::Chimeric};
    const std::vector<int> contig = {1, 1, 1, 1, 2, 2, 0, 0, 0};
    const std::vector<int> buriedIn = {-1, -1, -1, 1, -1, -1, -1, -1, -1};
    for (size_t v = 0; v < 9; ++v) {
        EXPECT_EQ(map.clones[v].status, status[v]) << v;
        EXPECT_EQ(map.clones[v].contig, contig[v]) << v;
        EXPECT_EQ(map.clones[v].buriedIn, buriedIn[v]) << v;
        if (contig[v] == 0) {
            EXPECT_EQ(map.clones[v].left, -1) << v;
            EXPECT_EQ(map.clones[v].right, -1) << v;
        } else {
            EXPECT_EQ(map.clones[v].left, f.places[v].left) << v;
            EXPECT_EQ(map.clones[v].right, f.places[v].right) << v;
        }
    }
    // Group 3 is no contig: neither chimeric clone links it.
    EXPECT_EQ(map.clones[7].links, std::vector<int>({1}));
    EXPECT_EQ(map.clones[8].links, std::vector<int>({1, 2}));
    EXPECT_TRUE(map.clones[6].links.empty());
}

TEST(MapDecision, ContigsNumberedBySizeTurnedAndMovedToZero) {
    ContigMap map;
    map.contigs = 3; // contig 3 holds no clone
    map.clones = {at(1, 5, 9), at(1, 7, 15), at(2, 16, 26), at(2, 0, 12), at(2, 15, 30),
                  at(0, -1, -1)};
    map.clones[5].status = CloneStatus::Chimeric;
    map.clones[5].links = {3, 2, 1};
    numberContigs(map);
    EXPECT_EQ(map.contigs, 2);
    // The larger contig first; turned, since its lowest fingerprint's
    // middle (21) lies in its right half (0 to 30).
    const std::vector<std::vector<long>> places = {{2, 0, 4}, {2, 2, 10}, {1, 4, 14},
                                                   {1, 18, 30}, {1, 0, 15}, {0, -1, -1}};
    for (size_t v = 0; v < places.size(); ++v) {
        EXPECT_EQ(map.clones[v].contig, places[v][0]) << v;
        EXPECT_EQ(map.clones[v].left, places[v][1]) << v;
        EXPECT_EQ(map.clones[v].right, places[v][2]) << v;
    }
    EXPECT_EQ(map.clones[5].links, std::vector<int>({1, 2}));
}

TEST(MapDecision, BuildMapOnAChainABuriedCloneAndAChimera) {
    // Fragment k is one band at 100 + 3k: at tolerance 1 clones share
    // exactly their common fragments.
    std::vector<Fingerprint> prints;
    auto add = [&](const std::string& name, std::initializer_list<std::pair<int, int>> pieces) {
        std::vector<int> bands;
        for (auto [first, count] : pieces)
            for (int k = first; k < first + count; ++k)
                bands.push_back(100 + 3 * k);
        std::sort(bands.begin(), bands.end());
        prints.push_back({name, "1", bands, (int)prints.size() + 1});
        return (int)prints.size() - 1;
    };
    std::vector<int> a, b;
    for (int k = 0; k < 12; ++k)
        a.push_back(add("A" + std::to_string(k), {{7 * k, 40}}));
    for (int k = 0; k < 12; ++k)
        b.push_back(add("B" + std::to_string(k), {{400 + 7 * k, 40}}));
    const int over = add("Over", {{7 * 11 + 21, 21}}); // 2 fragments past A's end
    const int x = add("X", {{30, 22}, {460, 22}});
    MapSettings s;
    s.tolerance = 1;
    ContigMap map = buildMap(prints, s);

    EXPECT_EQ(map.contigs, 2);
    EXPECT_EQ(map.clones[x].status, CloneStatus::Chimeric);
    EXPECT_EQ(map.clones[x].contig, 0);
    EXPECT_EQ(map.clones[x].links, std::vector<int>({1, 2}));
    EXPECT_EQ(map.clones[over].status, CloneStatus::Buried);
    EXPECT_EQ(map.clones[over].buriedIn, a.back());
    EXPECT_EQ(map.clones[over].contig, 1); // with it, A has the more clones
    for (const std::vector<int>& chain : {a, b}) {
        const int number = chain == a ? 1 : 2;
        long lowest = map.clones[chain[0]].left;
        for (size_t k = 0; k < chain.size(); ++k) {
            const PlacedClone& c = map.clones[chain[k]];
            EXPECT_EQ(c.contig, number) << prints[chain[k]].clone;
            EXPECT_EQ(c.status, CloneStatus::Ok) << prints[chain[k]].clone;
            // Its lowest fingerprint lies at the left end: the chain reads
            // left to right.
            if (k > 0) {
                EXPECT_GT(c.left, map.clones[chain[k - 1]].left) << prints[chain[k]].clone;
            }
            lowest = std::min(lowest, c.left);
        }
        EXPECT_EQ(lowest, 0);
    }
    EXPECT_GT(map.clones[over].right, map.clones[a.back()].right);
}

} // namespace mapdecision
