// Marker hits in zeContig: the join rule of the marker stage on hand-made
// clones (two groups joined only with two clones of each in the pairs, repeat
// probes, pairs of the scan and junctions left alone), the hits file's bad
// input, and the program end to end on a small simulated library.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "mapTestSupport.h"
#include "zeMarkerHits.h"
#include "zeMarkerPairs.h"

using namespace zetest;

namespace {

// Fragment k is one band at 100 + 3k: at tolerance 1 two clones share
// exactly their common fragments, and 8 to 12 of 40 score between the
// build cutoff and the marker cutoff.
Fingerprint printOf(const std::string& name, int first, int count = 40) {
    Fingerprint f;
    f.clone = name;
    f.gel = "1";
    for (int k = first; k < first + count; ++k)
        f.bands.push_back(100 + 3 * k);
    return f;
}

MapSettings settings() {
    MapSettings s;
    s.tolerance = 1;
    return s;
}

PairScore scanned(int first, int second) {
    PairScore p;
    p.first = first;
    p.second = second;
    return p;
}

// The marker pairs of `hits` that join or extend the groups.
MarkerFindings joined(const PrintsView& view, const std::vector<std::vector<int>>& hits,
                      const std::vector<PairScore>& scan,
                      const std::vector<std::vector<int>>& groups,
                      const std::vector<char>& junctions, const MapSettings& s) {
    return markerPairs(view, markerCandidates(hits, scan, s), groups, junctions, s);
}

} // namespace

TEST(MarkerPairs, TwoGroupsJoinOnlyWithTwoClonesOfEachInThePairs) {
    // a1 a2 one group, b1 b2 another just beyond it: a1-b1 share 9
    // fragments, a2-b1 11, a2-b2 9, a1-b2 only 7 (fewer than 8 bands).
    const std::vector<Fingerprint> prints = {printOf("a1", 0), printOf("a2", 2), printOf("b1", 31),
                                             printOf("b2", 33)};
    const MapSettings s = settings();
    for (auto [a, b] : std::vector<std::pair<int, int>>{{0, 2}, {1, 2}, {1, 3}}) {
        PairScore p = scoreBands(prints[(size_t)a].bands, prints[(size_t)b].bands, s.tolerance);
        ASSERT_GT(p.score, s.cutoff);
        ASSERT_LE(p.score, s.markerCutoff);
    }
    const PrintsView view(prints);
    const std::vector<PairScore> scan = {scanned(0, 1), scanned(2, 3)};
    const std::vector<std::vector<int>> groups = {{0, 1}, {2, 3}};
    const std::vector<char> noJunctions(4, 0);

    MarkerFindings all = joined(view, {{0, 1, 2, 3}}, scan, groups, noJunctions, s);
    EXPECT_EQ(pairEnds(all.pairs), (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}, {1, 3}}));
    EXPECT_EQ(all.typicalHits, 4);
    EXPECT_EQ(all.repeatProbes, 0);

    // Only a2 of its group is hit: one clone pulls no group along.
    EXPECT_TRUE(joined(view, {{1, 2, 3}}, scan, groups, noJunctions, s).pairs.empty());
    // Nor does a junction count as a clone of its group.
    std::vector<char> a1Junction = noJunctions;
    a1Junction[0] = 1;
    EXPECT_TRUE(joined(view, {{0, 1, 2, 3}}, scan, groups, a1Junction, s).pairs.empty());
    // A lone clone (b1 in no group) joins the one group it leads to, with
    // two of its clones, not one.
    EXPECT_EQ(pairEnds(joined(view, {{0, 1, 2}}, {scanned(0, 1)}, {{0, 1}}, {0, 0, 0, 0}, s).pairs),
              (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}}));
    EXPECT_TRUE(joined(view, {{1, 2}}, {scanned(0, 1)}, {{0, 1}}, {0, 0, 0, 0}, s).pairs.empty());
}

TEST(MarkerPairs, RepeatProbesAndPairsOfTheScanAddNothing) {
    std::vector<Fingerprint> prints = {printOf("a1", 0), printOf("a2", 2), printOf("b1", 31),
                                       printOf("b2", 33)};
    for (int k = 0; k < 8; ++k)
        prints.push_back(printOf("x" + std::to_string(k), 200 + 60 * k));
    const MapSettings s = settings();
    const PrintsView view(prints);
    const std::vector<std::vector<int>> groups = {{0, 1}, {2, 3}};
    const std::vector<char> noJunctions(prints.size(), 0);
    // Typical markers hit 2 fingerprints; the one hitting a1 .. b2 and
    // x0 .. x7 hits more than 2.5 times as many: a repeat probe.
    std::vector<std::vector<int>> hits = {
        {4, 5}, {6, 7}, {8, 9}, {10, 11}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
    const std::vector<PairScore> scan = {scanned(0, 1), scanned(2, 3)};
    MarkerCandidates probe = markerCandidates(hits, scan, s);
    EXPECT_EQ(probe.typicalHits, 2);
    EXPECT_EQ(probe.hitLimit, 5);
    EXPECT_EQ(probe.repeatProbes, 1);
    EXPECT_EQ(probe.pairs, (std::vector<std::pair<int, int>>{{4, 5}, {6, 7}, {8, 9}, {10, 11}}));
    EXPECT_TRUE(markerPairs(view, probe, groups, noJunctions, s).pairs.empty());

    // Pairs the scan passed are the scan's: none is a candidate again.
    const std::vector<PairScore> every = {scanned(0, 1), scanned(0, 2), scanned(1, 2),
                                          scanned(1, 3), scanned(2, 3)};
    EXPECT_EQ(markerCandidates({{0, 1, 2, 3}}, every, s).pairs,
              (std::vector<std::pair<int, int>>{{0, 3}}));
    EXPECT_TRUE(joined(view, {{0, 1, 2, 3}}, every, groups, noJunctions, s).pairs.empty());
}

TEST(MarkerHits, BadHitsFilesAreRefusedNamingFileAndLine) {
    const std::vector<Fingerprint> prints = {printOf("a1", 0), printOf("a2", 2)};
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "h.tsv:1: expected the header 'clone marker', not an empty file"},
        {"marker\tclone\n", "h.tsv:1: expected the header 'clone marker', not 'marker\tclone'"},
        {"clone\tmarker\na1\tm1\na2\tm1\textra\n",
         "h.tsv:3: expected 2 fields (clone marker), not 3"}};
    for (const auto& [text, expected] : cases) {
        MarkerHits hits;
        std::vector<std::string> warnings;
        std::string error;
        EXPECT_FALSE(parseMarkerHits(text, "h.tsv", prints, hits, warnings, error)) << text;
        EXPECT_EQ(error, expected);
    }

    // Through the program: one ERROR line naming the file, and no table left.
    TempDir t;
    writeFile(t / "1.bands", bandsFile({{"a1", {500, 900, 1300}}}, "1"));
    writeFile(t / "hits.tsv", "clone\tmarker\na1\n");
    RunResult r = runContig({"--markers", t / "hits.tsv", "-o", t / "out.tsv", t / "1.bands"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: " + t / "hits.tsv" +
                         ":2: expected 2 fields (clone marker), not 1\n");
    EXPECT_FALSE(fileExists(t / "out.tsv"));
    r = runContig({"--markers", t / "hits.tsv", "-o", t / "hits.tsv", t / "1.bands"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: the table '" + t / "hits.tsv" + "' is the hits file '" +
                         t / "hits.tsv" + "': it would be written over\n");
    EXPECT_EQ(readFile(t / "hits.tsv"), "clone\tmarker\na1\n");
    r = runContig({"--markers", t / "none.tsv", t / "1.bands"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("couldn't read '" + t / "none.tsv" + "'"), std::string::npos) << r.err;
    r = runContig({"--marker-cutoff", "1e-5", t / "1.bands"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--marker-cutoff needs --markers"), std::string::npos) << r.err;
}

TEST(MarkerHits, UnknownClonesAndRepeatedLinesAreCountedInOneWarningEach) {
    // a1 has two fingerprints (two gels): a hit holds for both.
    std::vector<Fingerprint> prints = {printOf("a1", 0), printOf("a1", 0), printOf("a2", 2)};
    prints[1].gel = "2";
    MarkerHits hits;
    std::vector<std::string> warnings;
    std::string error;
    ASSERT_TRUE(parseMarkerHits("clone\tmarker\r\na2\tm1\r\nzz\tm1\r\na1\tm1\r\na2 m1\r\n"
                                "a1\tm2\r\n\r\nyy\tm2\r\na2\tm1\r\n\r\n",
                                "h.tsv", prints, hits, warnings, error))
        << error;
    EXPECT_EQ(hits.markers, (std::vector<std::string>{"m1", "m2"}));
    EXPECT_EQ(hits.prints, (std::vector<std::vector<int>>{{0, 1, 2}, {0, 1}}));
    EXPECT_EQ(hits.hits, 3);
    EXPECT_EQ(warnings, (std::vector<std::string>{
                            "WARNING: h.tsv: 2 hits name a clone in no bands file, left out (the "
                            "first, 'zz', on line 3)",
                            "WARNING: h.tsv: 2 repeated lines ignored (the first, 'a2 m1', on "
                            "line 5)"}));
}

TEST(ContigMarkers, MarkersJoinContigsOfASimulatedLibraryWithNoFalseJoin) {
    TempDir t;
    RunResult g = run(ZE_GENLIBRARY_BIN, {"--out", t.path(), "--clones", "2880", "--per-gel", "96",
                                          "--seed", "5", "--markers", "250000"});
    ASSERT_EQ(g.status, 0) << g.err;
    std::vector<std::string> files;
    for (int k = 1; k <= 30; ++k)
        files.push_back(t / (std::to_string(k) + ".bands"));
    const std::map<std::string, TrueSpan> truth = trueSpans(t / "truth.tsv");

    RunResult plain = runContig(files);
    ASSERT_EQ(plain.status, 0) << plain.err;
    std::vector<std::string> args = {"--markers", t / "markers.tsv", "--html", t / "map.html"};
    args.insert(args.end(), files.begin(), files.end());
    RunResult marked = runContig(args);
    ASSERT_EQ(marked.status, 0) << marked.err;

    const std::vector<ContigRow> before = contigRows(plain.out), after = contigRows(marked.out);
    EXPECT_EQ(falseJoins(before, truth), 0);
    EXPECT_EQ(falseJoins(after, truth), 0);
    const int fewer = contigsOfTwoOrMore(after), more = contigsOfTwoOrMore(before);
    EXPECT_LE(fewer, 0.95 * more) << fewer << " contigs with markers, " << more << " without";
    // The page tells the marker setting and what the markers did.
    const std::string page = readFile(t / "map.html");
    EXPECT_NE(page.find("repeat probes"), std::string::npos);
    EXPECT_NE(page.find("<code>--marker-cutoff</code>"), std::string::npos);
}
