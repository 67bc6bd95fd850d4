// Groups that close on themselves: a circular genome's clones are opened
// once into a line, a chimeric clone joining a line's two ends is cut from
// one of them, and lines and forks are left alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

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
    return pairs;
}

// The graph of `pairs` (first < second), each pair once however often given.
OverlapGraph graphOf(int n, std::vector<PairScore> pairs) {
    auto key = [](const PairScore& p) { return std::make_pair(p.first, p.second); };
    std::sort(pairs.begin(), pairs.end(),
              [&](const PairScore& x, const PairScore& y) { return key(x) < key(y); });
    pairs.erase(std::unique(pairs.begin(), pairs.end(),
                            [&](const PairScore& x, const PairScore& y) { return key(x) == key(y); }),
                pairs.end());
    return OverlapGraph(n, pairs);
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

// Random groups: clones of unit length at random places on a line or a
// circle, an overlap where two overlap by more than a share (some lost, as
// a pair scoring short of the cutoff), and a few chance overlaps between
// any two. Whatever is cut, it is the group's own overlaps, and the group
// stays one: a circle opened is still held together the other way round.
TEST(CircularGroups, RandomGroupsStayWholeAndLoseOnlyTheirOwnOverlaps) {
    std::mt19937 rng(7);
    int linesCut = 0, opened = 0;
    for (int trial = 0; trial < 300; ++trial) {
        const bool ring = trial % 2 == 0;
        const int n = 20 + (int)(rng() % 200);
        const double length = n / (4.0 + rng() % 20); // coverage 4x to 23x
        const double least = 0.2 + 0.1 * (rng() % 6), lost = 0.02 * (rng() % 10);
        const int chance = (int)(rng() % 4);
        std::uniform_real_distribution<double> place(0, length), unit(0, 1);
        std::vector<double> start((size_t)n);
        for (double& x : start)
            x = place(rng);
        std::vector<PairScore> pairs;
        for (int a = 0; a < n; ++a)
            for (int b = a + 1; b < n; ++b) {
                double apart = std::fabs(start[(size_t)a] - start[(size_t)b]);
                if (ring) apart = std::min(apart, length - apart);
                if (1 - apart > least && unit(rng) >= lost) pairs.push_back({a, b, 10, 0, 0});
            }
        for (int k = 0; k < chance; ++k) {
            const int a = (int)(rng() % n), b = (int)(rng() % n);
            if (a != b) pairs.push_back({std::min(a, b), std::max(a, b), 10, 0, 0});
        }
        OverlapGraph g = graphOf(n, pairs);
        const std::vector<std::vector<int>> groups = groupsOf(g);
        const OpenedCircles o = openCircles(g, groups, MapSettings());
        ASSERT_TRUE(std::is_sorted(o.cuts.begin(), o.cuts.end())) << trial;
        for (const std::pair<int, int>& c : o.cuts)
            ASSERT_TRUE(c.first < c.second && g.sharedOf(c.first, c.second) >= 0) << trial;
        ASSERT_LE(o.openings.size(), groups.size()) << trial;
        EXPECT_EQ(groupsOf(withoutEdges(g, o.cuts)), groups) << trial;
        if (!ring && chance == 0) linesCut += !o.cuts.empty();
        opened += !o.openings.empty();
    }
    // Lines without chance overlaps are left alone; rings are opened where
    // both sides hold through 2 clones or more (a random ring's thin spots,
    // where one clone alone spans a gap, keep some whole).
    EXPECT_EQ(linesCut, 0);
    EXPECT_GT(opened, 30) << opened;
}

// A line of clones closed into a ring by a chimeric clone joining its two
// ends, with a thin spot of its own half-way (one clone alone holds the
// overlaps across it): both meetings hold through one clone. The clones
// either side of the thin spot share bands, the chimeric clone's two sides
// none, so the chimeric clone is the one cut.
TEST(CircularGroups, OfTwoThinSpotsTheOneWhoseSidesShareNoBandsIsCut) {
    const std::vector<int> genome = fragmentBands(400, 5);
    std::vector<Fingerprint> prints;
    for (int k = 0; k < 60; ++k) {
        HandClone c = cloneOf("C" + std::to_string(k), genome, 6 * k, 24);
        prints.push_back(printOf({c.bands}, c.name));
    }
    std::vector<int> ends(genome.begin(), genome.begin() + 12);
    ends.insert(ends.end(), genome.begin() + 6 * 59 + 12, genome.begin() + 6 * 59 + 24);
    prints.push_back(printOf({ends}, "chimeric"));
    std::vector<PairScore> pairs;
    for (int a = 0; a < 60; ++a)
        for (int b = a + 1; b <= a + 2 && b < 60; ++b)
            if (!(a < 30 && b > 30)) pairs.push_back({a, b, 12, 0, 0});
    for (int v : {0, 1, 58, 59})
        pairs.push_back({v, 60, 12, 0, 0});
    OverlapGraph g(61, pairs);
    const PrintsView view(prints);
    OpenedCircles opened = openCircles(g, groupsOf(g), MapSettings(), &view);
    ASSERT_EQ(opened.openings.size(), 1u);
    EXPECT_TRUE(opened.openings[0].throughOne);
    EXPECT_EQ(opened.openings[0].first, 60);
    for (const std::pair<int, int>& c : opened.cuts)
        EXPECT_EQ(c.second, 60) << c.first;
    // Without the bands nothing tells the two apart, and nothing is cut.
    EXPECT_TRUE(openCircles(g, groupsOf(g), MapSettings()).cuts.empty());
}
