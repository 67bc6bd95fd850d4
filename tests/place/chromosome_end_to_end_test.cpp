// zePlace --chromosomes through the real programs: a small simulated
// library mapped by zeContig and anchored, a hand-made contig joined across
// two chromosomes, and the bad inputs, each refused or warned of by name.
#include <gtest/gtest.h>

#include <map>

#include "placeTestSupport.h"
#include "testSupport.h"

using namespace zetest;

namespace {

const char* const TABLE_HEADER = "contig\tclone\tgel\tordinal\tleft\tright\tstatus\tburied_in\tlinks\n";

// Contig 1: clones A1..A6 of chr1's markers m1-m3 then chr2's m4-m6 (a false
// join); contig 2: B1..B4 on chr1's m7 and m8; contig 3: C1, C2 with a lone
// hit; D1 in no contig.
void writeHandMade(const TempDir& dir) {
    std::string table = TABLE_HEADER;
    auto row = [&](int contig, const std::string& clone, int ordinal, long left, long right) {
        table += std::to_string(contig) + "\t" + clone + "\t1\t" + std::to_string(ordinal) + "\t" +
                 std::to_string(left) + "\t" + std::to_string(right) + "\tok\t-\t-\n";
    };
    int ordinal = 0;
    for (int k = 0; k < 6; ++k)
        row(1, "A" + std::to_string(k + 1), ++ordinal, 10 * k, 10 * k + 25);
    for (int k = 0; k < 4; ++k)
        row(2, "B" + std::to_string(k + 1), ++ordinal, 10 * k, 10 * k + 25);
    row(3, "C1", ++ordinal, 0, 25);
    row(3, "C2", ++ordinal, 10, 35);
    table += "0\tD1\t1\t" + std::to_string(++ordinal) + "\t-\t-\tok\t-\t-\n";
    writeFile(dir / "contigs.tsv", table);
    writeFile(dir / "map.tsv", "marker\tchromosome\tposition\n"
                               "m1\tchr1\t10.5\nm2\tchr1\t11\nm3\tchr1\t12\n"
                               "m4\tchr2\t40\nm5\tchr2\t41\nm6\tchr2\t42\n"
                               "m7\tchr1\t30\nm8\tchr1\t31.5\nm9\tchr2\t5\n");
    writeFile(dir / "hits.tsv", "clone marker\n"
                                "A1 m1\nA2 m1\nA2 m2\nA3 m2\nA3 m3\nA4 m3\n"
                                "A4 m4\nA5 m4\nA5 m5\nA6 m5\nA6 m6\n"
                                "B1 m7\nB2 m7\nB3 m8\nB4 m8\nC2 m9\nD1 m9\n");
}

std::vector<std::string> placeArgs(const TempDir& dir, const std::string& hits = "hits.tsv",
                                   const std::string& map = "map.tsv") {
    return {"--map", dir / "contigs.tsv", "--markers", dir / hits, "--marker-map", dir / map,
            "--chromosomes", dir / "out.tsv"};
}

TEST(ChromosomeEndToEnd, AFalseJoinIsAConflictAndTheOthersAreAnchoredOrNot) {
    TempDir dir;
    writeHandMade(dir);
    std::vector<std::string> args = placeArgs(dir);
    args.insert(args.end(), {"--html", dir / "page.html"});
    RunResult r = run(ZEPLACE_BIN, args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readFile(dir / "out.tsv"), "contig\tchromosome\tstart\tend\tstrand\tmarkers\tstatus\n"
                                         "2\tchr1\t30\t31.5\t.\t2\tanchored\n"
                                         "1\tchr1,chr2\t-\t-\t.\t5\tconflict\n"
                                         "3\t-\t-\t-\t.\t1\tunanchored\n");
    std::string page = readFile(dir / "page.html");
    EXPECT_NE(page.find("<h2>Along the chromosomes</h2>"), std::string::npos);
    EXPECT_NE(page.find("class=\"conflict\""), std::string::npos);
    EXPECT_NE(page.find("<td>contig1</td><td>chr1, chr2</td>"), std::string::npos);
}

TEST(ChromosomeEndToEnd, BadInputIsRefusedOrWarnedOfByFileAndLine) {
    TempDir dir;
    writeHandMade(dir);
    struct Case {
        std::string hits, map, message;
    };
    writeFile(dir / "noheader.tsv", "A1 m1\n");
    writeFile(dir / "nomapheader.tsv", "m1 chr1 10\n");
    writeFile(dir / "badposition.tsv", "marker chromosome position\nm1 chr1 10\nm2 chr1 ten\n");
    writeFile(dir / "twice.tsv", "marker chromosome position\nm1 chr1 10\nm1 chr2 5\n");
    writeFile(dir / "short.tsv", "clone marker\nA1\n");
    for (const Case& c : std::vector<Case>{
             {"noheader.tsv", "map.tsv", "noheader.tsv:1: expected the header 'clone marker', not 'A1 m1'"},
             {"hits.tsv", "nomapheader.tsv", "nomapheader.tsv:1: expected the header 'marker chromosome position'"},
             {"hits.tsv", "badposition.tsv", "badposition.tsv:3: position must be a number, not 'ten'"},
             {"hits.tsv", "twice.tsv", "twice.tsv:3: marker m1 is listed twice (first on line 2)"},
             {"short.tsv", "map.tsv", "short.tsv:2: expected 2 fields (clone marker), not 1"},
             {"absent.tsv", "map.tsv", "couldn't read '"}}) {
        writeFile(dir / "out.tsv", "old\n");
        RunResult r = run(ZEPLACE_BIN, placeArgs(dir, c.hits, c.map));
        EXPECT_EQ(r.status, 1) << c.message;
        EXPECT_NE(r.err.find("ERROR: "), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(readFile(dir / "out.tsv"), "old\n") << c.message; // left as it was
    }
    // Unknown clones, unmapped markers and repeated lines are left out, with a warning each.
    writeFile(dir / "odd.tsv", readFile(dir / "hits.tsv") + "Z9 m1\nA1 m99\nA1 m1\n");
    RunResult r = run(ZEPLACE_BIN, placeArgs(dir, "odd.tsv"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("WARNING: '" + dir / "odd.tsv" + "': 1 line repeats an earlier one (the first, "
                         "line 21: repeats line 2); left out"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("1 line names a clone not in the contig table"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 19: clone Z9"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("1 line names a marker not in the marker map"), std::string::npos) << r.err;
    EXPECT_NE(readFile(dir / "out.tsv").find("1\tchr1,chr2"), std::string::npos);
    // The three options go together; without a site nothing is placed.
    r = run(ZEPLACE_BIN, {"--map", dir / "contigs.tsv", "--chromosomes", dir / "x.tsv"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--chromosomes, --markers and --marker-map go together"), std::string::npos);
    std::vector<std::string> args = placeArgs(dir);
    args.insert(args.end(), {"-o", dir / "placed.tsv"});
    r = run(ZEPLACE_BIN, args);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("give --site or --enzyme"), std::string::npos) << r.err;
}

TEST(ChromosomeEndToEnd, ASimulatedLibraryLandsOnItsChromosomes) {
    TempDir dir;
    RunResult r = run(ZE_GENLIBRARY_BIN, {"--out", dir / "lib", "--clones", "1200", "--chromosomes",
                                          "2", "--markers", "200000", "--seed", "4"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> contig = {"-o", dir / "contigs.tsv"};
    for (int gel = 1; gel <= 13; ++gel)
        contig.push_back(dir / ("lib/" + std::to_string(gel) + ".bands"));
    r = run(ZECONTIG_BIN, contig);
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> args = {"--map", dir / "contigs.tsv", "--markers", dir / "lib/markers.tsv",
                                     "--marker-map", dir / "lib/marker-map.tsv", "--chromosomes",
                                     dir / "out.tsv"};
    args.insert(args.end(), contig.begin() + 2, contig.end());
    r = run(ZEPLACE_BIN, args);
    ASSERT_EQ(r.status, 0) << r.err;
    std::map<std::string, std::string> chromosomeOf;
    for (const auto& row : tsvRows(readFile(dir / "lib/truth.tsv")))
        chromosomeOf[row[0]] = row[11];
    std::map<std::string, std::map<std::string, int>> votes; // contig -> chromosome -> clones
    for (const auto& row : tsvRows(readFile(dir / "contigs.tsv")))
        if (row[0] != "0") votes[row[0]][chromosomeOf[row[1]]]++;
    long anchored = 0, anchoredClones = 0, clones = 0;
    for (const auto& row : tsvRows(readFile(dir / "out.tsv"))) {
        ASSERT_EQ(row.size(), 7u);
        const std::map<std::string, int>& v = votes.at(row[0]);
        long size = 0;
        std::string most;
        for (const auto& entry : v) {
            size += entry.second;
            if (most.empty() || entry.second > v.at(most)) most = entry.first;
        }
        clones += size;
        if (row[6] != "anchored") continue;
        EXPECT_EQ(row[1], most) << "contig " << row[0];
        ++anchored;
        anchoredClones += size;
    }
    EXPECT_EQ(tsvRows(readFile(dir / "out.tsv")).size(), votes.size());
    EXPECT_GT(anchored, 10);
    EXPECT_GT((double)anchoredClones, 0.9 * (double)clones);
}

} // namespace
