// zeGenLibrary's chromosomes and markers: no clone across two chromosomes,
// a marker without errors hits exactly the clones holding it, and the
// errors come in about the shares asked for.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "placeTestSupport.h"
#include "testSupport.h"

using namespace zetest;

namespace {

const int64_t GENOME = 6000000;

struct TrueMarker {
    std::string chromosome;
    int64_t position = 0, genomePosition = 0;
    bool repeatProbe = false;
};

std::map<std::string, TrueMarker> markersTruth(const std::string& path) {
    std::map<std::string, TrueMarker> markers;
    for (const auto& row : tsvRows(readFile(path)))
        markers[row[0]] = {row[1], std::stoll(row[2]), std::stoll(row[3]), row[4] == "1"};
    return markers;
}

std::set<std::pair<std::string, std::string>> hitsOf(const std::string& path) {
    std::set<std::pair<std::string, std::string>> hits;
    for (const auto& row : tsvRows(readFile(path)))
        EXPECT_TRUE(hits.emplace(row[0], row[1]).second) << row[0] << " " << row[1] << " twice";
    return hits;
}

TEST(GeneratorMarkers, WithoutErrorsAMarkerHitsTheClonesHoldingIt) {
    TempDir dir;
    RunResult r = run(ZE_GENLIBRARY_BIN,
                      {"--out", dir / "lib", "--clones", "300", "--genome-length", "6000000",
                       "--chromosomes", "3", "--markers", "250000", "--marker-miss", "0",
                       "--marker-false", "0", "--repeat-probes", "0", "--marker-map-error", "0",
                       "--chimeric", "0"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto markers = markersTruth(dir / "lib/markers-truth.tsv");
    EXPECT_EQ(markers.size(), 24u); // 2 Mb chromosomes, 8 windows each
    std::map<std::string, std::pair<int64_t, int64_t>> clones;
    for (const auto& row : tsvRows(readFile(dir / "lib/truth.tsv"))) {
        ASSERT_EQ(row.size(), 13u);
        int64_t start = std::stoll(row[2]), end = std::stoll(row[3]);
        int64_t chromosome = start / (GENOME / 3);
        EXPECT_EQ(row[11], "chr" + std::to_string(chromosome + 1)) << row[0];
        EXPECT_EQ((end - 1) / (GENOME / 3), chromosome) << row[0] << " spans two chromosomes";
        clones[row[0]] = {start, end};
    }
    std::set<std::pair<std::string, std::string>> want;
    for (const auto& m : markers) {
        EXPECT_EQ(m.second.genomePosition,
                  m.second.position + (std::stoll(m.second.chromosome.substr(3)) - 1) * GENOME / 3);
        for (const auto& c : clones)
            if (c.second.first <= m.second.genomePosition && m.second.genomePosition < c.second.second)
                want.emplace(c.first, m.first);
    }
    EXPECT_EQ(hitsOf(dir / "lib/markers.tsv"), want);
    for (const auto& row : tsvRows(readFile(dir / "lib/marker-map.tsv"))) {
        EXPECT_EQ(row[1], markers[row[0]].chromosome);
        EXPECT_EQ(std::stoll(row[2]), markers[row[0]].position);
    }
}

TEST(GeneratorMarkers, MissesFalseHitsRepeatProbesAndMapErrorAsAsked) {
    TempDir dir;
    RunResult r = run(ZE_GENLIBRARY_BIN,
                      {"--out", dir / "lib", "--clones", "2000", "--chromosomes", "2", "--markers",
                       "100000", "--marker-false", "0.05", "--repeat-probes", "0.05", "--seed", "3"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto markers = markersTruth(dir / "lib/markers-truth.tsv");
    std::map<std::string, std::vector<std::pair<int64_t, int64_t>>> pieces;
    for (const auto& row : tsvRows(readFile(dir / "lib/truth.tsv"))) {
        pieces[row[0]].emplace_back(std::stoll(row[2]), std::stoll(row[3]));
        if (row[4] == "1") pieces[row[0]].emplace_back(std::stoll(row[7]), std::stoll(row[8]));
    }
    auto holds = [&](const std::string& clone, int64_t at) {
        for (const auto& p : pieces[clone])
            if (p.first <= at && at < p.second) return true;
        return false;
    };
    long trueHits = 0, falseHits = 0, holding = 0, repeatProbes = 0;
    for (const auto& m : markers) {
        repeatProbes += m.second.repeatProbe;
        if (m.second.repeatProbe) continue;
        for (const auto& c : pieces)
            holding += holds(c.first, m.second.genomePosition);
    }
    for (const auto& hit : hitsOf(dir / "lib/markers.tsv")) {
        const TrueMarker& m = markers.at(hit.second);
        if (m.repeatProbe) continue;
        (holds(hit.first, m.genomePosition) ? trueHits : falseHits)++;
    }
    // About 900 markers, 10 clones each: 10% missed, 5% false, 5% repeat probes.
    EXPECT_NEAR((double)trueHits / (double)holding, 0.90, 0.02);
    EXPECT_NEAR((double)falseHits / (double)(trueHits + falseHits), 0.05 / 1.05, 0.01);
    EXPECT_NEAR((double)repeatProbes / (double)markers.size(), 0.05, 0.025);
    double squares = 0;
    long mapped = 0;
    for (const auto& row : tsvRows(readFile(dir / "lib/marker-map.tsv"))) {
        double error = (double)(std::stoll(row[2]) - markers[row[0]].position);
        squares += error * error;
        ++mapped;
    }
    EXPECT_NEAR(std::sqrt(squares / (double)mapped), 100000, 15000);
}

TEST(GeneratorMarkers, ChromosomesShorterThanACloneAreRefusedBeforeAnyFile) {
    TempDir dir;
    RunResult r = run(ZE_GENLIBRARY_BIN, {"--out", dir / "lib", "--clones", "10", "--genome-length",
                                          "1000000", "--chromosomes", "20"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("too short for clones"), std::string::npos) << r.err;
    EXPECT_FALSE(fileExists(dir / "lib"));
}

} // namespace
