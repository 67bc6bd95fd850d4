// zeContig on libraries that crowd every pair: a band in every clone (the
// cloning vector's, left unmasked) and a library that is one repeat
// family. The map still builds, names what it masked, and joins no clones
// that only the crowd ties together.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "mapTestSupport.h"

using namespace zetest;

TEST(ContigRepeatInput, ABandInEveryCloneIsMaskedAndNamedOnThePage) {
    TempDir t;
    RunResult made = run(ZE_GENLIBRARY_BIN, {"--out", t / "lib", "--clones", "400", "--seed", "5",
                                             "--vector-bands", "1387:0.85,2500:1"});
    ASSERT_EQ(made.status, 0) << made.err;
    std::vector<std::string> args{"-o", t / "map.tsv", "--html", t / "map.html"};
    for (int gel = 1; gel <= 5; ++gel)
        args.push_back(t / ("lib/" + std::to_string(gel) + ".bands"));
    RunResult r = runContig(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(contigRows(readFile(t / "map.tsv")).empty());
    // The band in every clone is masked, the tolerance either side of it;
    // the one in 85% is not.
    std::string page = readFile(t / "map.html");
    std::smatch masked;
    ASSERT_TRUE(std::regex_search(page, masked,
                                  std::regex("in every clone: masked ([0-9]+)-([0-9]+)([^<]*)")))
        << page;
    int low = std::stoi(masked[1].str()), high = std::stoi(masked[2].str());
    EXPECT_EQ(high - low, 14);
    EXPECT_TRUE(low <= 2498 && 2500 <= high) << low << "-" << high;
    EXPECT_EQ(masked[3].str().find(','), std::string::npos) << masked[3].str();
}

// Every clone holds the family's 30 bands (with gel noise) and a few bands
// of its own place: nothing says which copy a clone comes from.
TEST(ContigRepeatInput, ALibraryOfOneRepeatFamilyJoinsNothing) {
    std::vector<int> family = fragmentBands(30, 4), own = fragmentBands(300 * 6, 5);
    std::vector<HandClone> clones;
    for (int k = 0; k < 300; ++k) {
        HandClone c;
        c.name = "R" + std::to_string(1000 + k);
        for (size_t i = 0; i < family.size(); ++i)
            c.bands.push_back(std::max(0, family[i] + (int)((k + i) % 3) - 1));
        c.bands.insert(c.bands.end(), own.begin() + 6 * k, own.begin() + 6 * k + 6);
        clones.push_back(c);
    }
    TempDir t;
    writeFile(t / "1.bands", bandsFile(clones, "1"));
    RunResult r = runContig({"--html", t / "map.html", t / "1.bands"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<ContigRow> rows = contigRows(r.out);
    ASSERT_EQ(rows.size(), clones.size());
    for (const ContigRow& row : rows)
        EXPECT_EQ(row.contig, 0) << row.clone;
    EXPECT_NE(readFile(t / "map.html").find("in every clone: masked "), std::string::npos);
}
