// Groups that close on themselves: a circular genome's clones are opened
// once into a line, a chimeric clone joining a line's two ends is cut from
// one of them, and lines and forks are left alone.
#include <gtest/gtest.h>

#include <algorithm>

#include "mapTestSupport.h"
#include "zeCircularGroups.h"
#include "zeJunctions.h"
#include "zeLinearCuts.h"

using namespace zetest;

namespace {

// Clones 0 .. n-1 in a row, each overlapping the next `reach` (around the
// end too when `ring`).
std::vector<PairScore> row(int n, int reach, bool ring) {
    std::vector<PairScore> pairs;
    for (int v = 0; v < n; ++v)
        for (int d = 1; d <= reach; ++d) {
            const int w = v + d;
            if (w < n) pairs.push_back({v, w, 10, 0, 0});
            else if (ring) pairs.push_back({w - n, v, 10, 0, 0});
        }
    std::sort(pairs.begin(), pairs.end(), [](const PairScore& a, const PairScore& b) {
        return std::make_pair(a.first, a.second) < std::make_pair(b.first, b.second);
    });
    return pairs;
}

std::vector<std::vector<int>> groupsOf(const OverlapGraph& g) {
    return groupsApart(g, std::vector<char>((size_t)g.size(), 0));
}

// The most overlaps between two clones of g, along the shortest ways.
int across(const OverlapGraph& g) {
    int most = 0;
    for (int from = 0; from < g.size(); ++from) {
        std::vector<int> d((size_t)g.size(), -1);
        std::vector<int> queue{from};
        d[(size_t)from] = 0;
        for (size_t i = 0; i < queue.size(); ++i)
            for (const Overlap* e = g.begin(queue[i]); e != g.end(queue[i]); ++e)
                if (d[(size_t)e->to] < 0) {
                    d[(size_t)e->to] = d[(size_t)queue[i]] + 1;
                    queue.push_back(e->to);
                }
        most = std::max(most, *std::max_element(d.begin(), d.end()));
    }
    return most;
}

} // namespace

TEST(CircularGroups, ARingIsOpenedOnceIntoALine) {
    OverlapGraph g(60, row(60, 3, true));
    OpenedCircles opened = openCircles(g, groupsOf(g), MapSettings());
    ASSERT_EQ(opened.openings.size(), 1u);
    EXPECT_FALSE(opened.openings[0].throughOne);
    // The overlaps across one place of the ring: 1 + 2 + 3 of them.
    EXPECT_EQ(opened.cuts.size(), 6u);
    OverlapGraph line = withoutEdges(g, opened.cuts);
    ASSERT_EQ(groupsOf(line).size(), 1u);
    EXPECT_EQ(across(line), 20); // 60 clones, 3 a step: end to end
    EXPECT_EQ(openCircles(line, groupsOf(line), MapSettings()).cuts.size(), 0u);

    MapSettings off;
    off.circleMeetingClones = 0;
    EXPECT_TRUE(openCircles(g, groupsOf(g), off).cuts.empty());
}

TEST(CircularGroups, LinesAndForksStayWhole) {
    OverlapGraph line(60, row(60, 3, false));
    EXPECT_TRUE(openCircles(line, groupsOf(line), MapSettings()).cuts.empty());
    // A second row of 20 branching off clone 30 of the first.
    std::vector<PairScore> pairs = row(80, 3, false);
    pairs.erase(std::remove_if(pairs.begin(), pairs.end(),
                               [](const PairScore& p) { return p.first < 60 && p.second >= 60; }),
                pairs.end());
    pairs.push_back({30, 60, 10, 0, 0});
    pairs.push_back({31, 60, 10, 0, 0});
    std::sort(pairs.begin(), pairs.end(), [](const PairScore& a, const PairScore& b) {
        return std::make_pair(a.first, a.second) < std::make_pair(b.first, b.second);
    });
    OverlapGraph fork(80, pairs);
    EXPECT_TRUE(openCircles(fork, groupsOf(fork), MapSettings()).cuts.empty());
}

TEST(CircularGroups, AChimericCloneJoiningALinesEndsIsCutFromOne) {
    // Clone 60 overlaps the first three clones of the row and the last three.
    std::vector<PairScore> pairs = row(61, 3, false);
    pairs.erase(std::remove_if(pairs.begin(), pairs.end(),
                               [](const PairScore& p) { return p.second == 60; }),
                pairs.end());
    for (int v : {0, 1, 2, 57, 58, 59})
        pairs.push_back({v, 60, 10, 0, 0});
    std::sort(pairs.begin(), pairs.end(), [](const PairScore& a, const PairScore& b) {
        return std::make_pair(a.first, a.second) < std::make_pair(b.first, b.second);
    });
    OverlapGraph g(61, pairs);
    OpenedCircles opened = openCircles(g, groupsOf(g), MapSettings());
    ASSERT_EQ(opened.openings.size(), 1u);
    EXPECT_TRUE(opened.openings[0].throughOne);
    EXPECT_EQ(opened.openings[0].first, 60);
    ASSERT_FALSE(opened.cuts.empty());
    std::vector<int> cutFrom;
    for (const std::pair<int, int>& c : opened.cuts) {
        EXPECT_EQ(c.second, 60) << c.first;
        cutFrom.push_back(c.first);
    }
    EXPECT_TRUE(cutFrom == (std::vector<int>{0, 1, 2}) || cutFrom == (std::vector<int>{57, 58, 59}))
        << cutFrom.size();
}

// A circular genome of 240 fragments, a clone of 24 every 4 fragments
// around it (6x): one contig, in order around the circle but at one place.
TEST(CircularGroups, ACircularGenomeMapsAsOneContigInOrder) {
    const int fragments = 240, length = 24, step = 4;
    std::vector<int> genome = fragmentBands(fragments, 11);
    std::vector<int> twice = genome;
    twice.insert(twice.end(), genome.begin(), genome.end());
    std::vector<HandClone> clones;
    for (int k = 0; k * step < fragments; ++k)
        clones.push_back(cloneOf("C" + std::to_string(100 + k), twice, k * step, length));
    TempDir t;
    writeFile(t / "1.bands", bandsFile(clones, "1"));
    RunResult r = runContig({"--html", t / "map.html", t / "1.bands"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<ContigRow> rows = contigRows(r.out);
    std::vector<std::pair<double, int>> placed; // middle in the layout, place on the circle
    for (const ContigRow& row : rows) {
        EXPECT_EQ(row.contig, 1) << row.clone;
        if (row.status == "ok")
            placed.push_back({std::stod(row.left) + std::stod(row.right),
                              std::stoi(row.clone.substr(1)) - 100});
    }
    ASSERT_GT(placed.size(), 40u);
    std::sort(placed.begin(), placed.end());
    // Along the contig the places step one way around the circle, wrapping
    // once where it was opened.
    int up = 0, down = 0;
    for (size_t i = 1; i < placed.size(); ++i) {
        const int d = (placed[i].second - placed[i - 1].second + 60) % 60;
        up += d > 0 && d < 30;
        down += d > 30;
    }
    EXPECT_GE(std::max(up, down), (int)placed.size() - 3) << up << " " << down;
    EXPECT_NE(readFile(t / "map.html").find("1 opened"), std::string::npos);
    EXPECT_NE(r.err.find("NOTE: contig 1 closes on itself"), std::string::npos) << r.err;
}
