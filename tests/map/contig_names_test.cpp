// zeContig --previous: contig numbers carried over from an earlier table,
// to every output; merges and splits told on NOTE lines; a bad earlier
// table refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "mapTestSupport.h"

using namespace zetest;

namespace {

const std::string TOLERANCE = "2";
const std::string HEADER = "contig\tclone\tgel\tordinal\tleft\tright\tstatus\tburied_in\tlinks\n";

struct Build {
    std::string table, mtp, gff, err;
};

// zeContig on `gels` (each a list of clones, gel numbers 1, 2, ...),
// writing its table, tiling path and GFF into dir under `name`.
Build build(const TempDir& dir, const std::string& name,
            const std::vector<std::vector<HandClone>>& gels, const std::string& previous = "") {
    std::vector<std::string> args = {"-t",    TOLERANCE,
                                     "-o",    dir / (name + ".tsv"),
                                     "--mtp", dir / (name + ".mtp"),
                                     "--gff", dir / (name + ".gff3")};
    if (!previous.empty()) {
        args.push_back("--previous");
        args.push_back(previous);
    }
    for (size_t g = 0; g < gels.size(); ++g) {
        std::string file = dir / (name + "-" + std::to_string(g + 1) + ".bands");
        writeFile(file, bandsFile(gels[g], std::to_string(g + 1)));
        args.push_back(file);
    }
    RunResult r = runContig(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return {readFile(dir / (name + ".tsv")), readFile(dir / (name + ".mtp")),
            readFile(dir / (name + ".gff3")), r.err};
}

// Contig number by the first letter of the clones' names (every clone of
// a chain must be in one contig).
std::map<char, int> contigByChain(const std::string& table) {
    std::map<char, int> numbers;
    for (const ContigRow& r : contigRows(table)) {
        if (r.contig == 0) continue;
        auto known = numbers.emplace(r.clone[0], r.contig).first;
        EXPECT_EQ(known->second, r.contig) << r.clone;
    }
    return numbers;
}

std::vector<HandClone> without(const std::vector<HandClone>& clones, size_t from, size_t to) {
    std::vector<HandClone> kept;
    for (size_t k = 0; k < clones.size(); ++k)
        if (k < from || k >= to) kept.push_back(clones[k]);
    return kept;
}

// The contig numbers a tiling path table and a GFF3 file use.
std::set<int> mtpContigs(const std::string& mtp) {
    std::set<int> numbers;
    for (const TilingRow& r : tilingRows(mtp))
        numbers.insert(r.contig);
    return numbers;
}

std::set<int> gffContigs(const std::string& gff) {
    std::set<int> numbers;
    const std::string region = "##sequence-region contig";
    for (size_t at = gff.find(region); at != std::string::npos; at = gff.find(region, at + 1))
        numbers.insert(std::stoi(gff.substr(at + region.size())));
    return numbers;
}

} // namespace

TEST(ContigNames, SameInputKeepsEveryNameAlsoInPlace) {
    TempDir t;
    std::vector<int> genome = fragmentBands(1600, 21);
    std::vector<HandClone> gel = chainOf("A", genome, 0, 30);
    std::vector<HandClone> b = chainOf("B", genome, 400, 20);
    gel.insert(gel.end(), b.begin(), b.end());
    Build first = build(t, "first", {gel});
    Build again = build(t, "again", {gel}, t / "first.tsv");
    EXPECT_EQ(again.err, "");
    EXPECT_EQ(again.table, first.table);
    EXPECT_EQ(again.mtp, first.mtp);
    EXPECT_EQ(again.gff, first.gff);
    // Rebuilt over its own table, which is read before it is replaced.
    Build inPlace = build(t, "first", {gel}, t / "first.tsv");
    EXPECT_EQ(inPlace.table, first.table);
}

TEST(ContigNames, AddingAGelKeepsTheNamesOfUntouchedContigs) {
    TempDir t;
    std::vector<int> genome = fragmentBands(1600, 22);
    std::vector<HandClone> gel1 = chainOf("A", genome, 0, 30);
    std::vector<HandClone> b = chainOf("B", genome, 400, 20);
    gel1.insert(gel1.end(), b.begin(), b.end());
    std::vector<HandClone> gel2 = chainOf("C", genome, 800, 45);
    Build old = build(t, "old", {gel1});
    EXPECT_EQ(contigByChain(old.table), (std::map<char, int>{{'A', 1}, {'B', 2}}));
    // Built afresh, the larger new contig comes first.
    Build fresh = build(t, "fresh", {gel1, gel2});
    EXPECT_EQ(contigByChain(fresh.table), (std::map<char, int>{{'A', 2}, {'B', 3}, {'C', 1}}));
    Build kept = build(t, "kept", {gel1, gel2}, t / "old.tsv");
    EXPECT_EQ(kept.err, "");
    EXPECT_EQ(contigByChain(kept.table), (std::map<char, int>{{'A', 1}, {'B', 2}, {'C', 3}}));
    EXPECT_EQ(contigRows(kept.table).front().contig, 1);
    EXPECT_EQ(mtpContigs(kept.mtp), (std::set<int>{1, 2, 3}));
    for (const TilingRow& r : tilingRows(kept.mtp))
        EXPECT_EQ(r.contig, contigByChain(kept.table).at(r.clone[0])) << r.clone;
    EXPECT_EQ(gffContigs(kept.gff), (std::set<int>{1, 2, 3}));
    EXPECT_NE(kept.gff.find("contig3\tzeContig\tclone\t"), std::string::npos);
}

TEST(ContigNames, MergeAndSplitAreTold) {
    TempDir t;
    std::vector<int> genome = fragmentBands(800, 23);
    // Without clones 17 to 21 the chain falls into two contigs: 22 .. 39
    // (the larger, contig 1) and 0 .. 16.
    std::vector<HandClone> chain = chainOf("A", genome, 0, 40);
    std::vector<HandClone> apart = without(chain, 17, 22);
    std::vector<HandClone> gap(chain.begin() + 17, chain.begin() + 22);
    Build halves = build(t, "halves", {apart});
    std::map<std::string, ContigRow> rows = rowsByClone(contigRows(halves.table));
    ASSERT_EQ(rows.at("A30").contig, 1);
    ASSERT_EQ(rows.at("A05").contig, 2);

    Build merged = build(t, "merged", {apart, gap}, t / "halves.tsv");
    EXPECT_EQ(merged.err, "NOTE: contigs 1 and 2 merged into contig 1\n");
    for (const ContigRow& r : contigRows(merged.table))
        EXPECT_EQ(r.contig, 1) << r.clone;

    Build split = build(t, "split", {apart}, t / "merged.tsv");
    EXPECT_EQ(split.err, "NOTE: contig 1 split into contigs 1 and 2\n");
    rows = rowsByClone(contigRows(split.table));
    EXPECT_EQ(rows.at("A30").contig, 1);
    EXPECT_EQ(rows.at("A05").contig, 2);
}

TEST(ContigNames, NumbersReachLinksAndEveryOutput) {
    TempDir t;
    std::vector<int> genome = fragmentBands(800, 24);
    std::vector<HandClone> gel = chainOf("A", genome, 0, 40);
    std::vector<HandClone> b = chainOf("B", genome, 400, 30);
    gel.insert(gel.end(), b.begin(), b.end());
    // Two pieces, one from each chain: a chimeric clone.
    HandClone x = cloneOf("X", genome, 60, 22);
    HandClone piece = cloneOf("", genome, 400 + 60, 22);
    x.bands.insert(x.bands.end(), piece.bands.begin(), piece.bands.end());
    gel.push_back(x);
    Build fresh = build(t, "fresh", {gel});
    ASSERT_EQ(contigByChain(fresh.table), (std::map<char, int>{{'A', 1}, {'B', 2}}));
    ASSERT_EQ(rowsByClone(contigRows(fresh.table)).at("X").links, "1,2");

    // An earlier table that numbered them 9 and 5.
    const std::map<int, int> oldNumber = {{0, 0}, {1, 9}, {2, 5}};
    std::string renamed = HEADER;
    for (const ContigRow& r : contigRows(fresh.table))
        renamed += std::to_string(oldNumber.at(r.contig)) + "\t" + r.clone + "\t" + r.gel + "\t" +
                   r.ordinal + "\t" + r.left + "\t" + r.right + "\t" + r.status + "\t" +
                   r.buriedIn + "\t" + r.links + "\n";
    writeFile(t / "renamed.tsv", renamed);
    Build kept = build(t, "kept", {gel}, t / "renamed.tsv");
    EXPECT_EQ(kept.err, "");
    std::vector<ContigRow> rows = contigRows(kept.table);
    EXPECT_EQ(rows.front().contig, 5);
    EXPECT_EQ(rows.front().clone[0], 'B');
    EXPECT_EQ(contigByChain(kept.table), (std::map<char, int>{{'A', 9}, {'B', 5}}));
    EXPECT_EQ(rowsByClone(rows).at("X").links, "5,9");
    EXPECT_EQ(rows.back().clone, "X");
    EXPECT_EQ(mtpContigs(kept.mtp), (std::set<int>{5, 9}));
    EXPECT_EQ(tilingRows(kept.mtp).front().contig, 5);
    EXPECT_EQ(gffContigs(kept.gff), (std::set<int>{5, 9}));
}

TEST(ContigNames, BadPreviousTableIsRefused) {
    TempDir t;
    std::vector<int> genome = fragmentBands(200, 25);
    writeFile(t / "1.bands", bandsFile(chainOf("A", genome, 0, 10), "1"));
    const std::string header = HEADER;
    const std::string row = "1\tA00\t1\t1\t0\t40\tok\t-\t-\n";
    struct Case {
        std::string table, error;
    };
    const std::string old = t / "old.tsv";
    const std::vector<Case> cases = {
        {"", old + ":1: expected the header of a zeContig table, not an empty file"},
        {"contig\tclone\n" + row,
         old + ":1: expected the header of a zeContig table, not 'contig\tclone'"},
        {header + row + "1\tA01\t1\n", old + ":3: expected 9 tab-separated fields, not 3"},
        {header + "x" + row, old + ":2: contig must be a whole number from 0 to 1000000, not 'x1'"},
        // New contigs are numbered above the old ones: one past INT_MAX.
        {header + "2147483647\tA00\t1\t1\t0\t40\tok\t-\t-\n",
         old + ":2: contig must be a whole number from 0 to 1000000, not '2147483647'"},
        {header + "1\tA00\t1\t0\t0\t40\tok\t-\t-\n",
         old + ":2: ordinal must be a whole number of 1 or more, not '0'"},
        {header + "1\tA00\t1\t1\t40\t40\tok\t-\t-\n",
         old + ":2: left and right must be whole numbers with left < right, not '40' and '40'"},
        {header + "0\tA00\t1\t1\t0\t40\tok\t-\t-\n",
         old + ":2: left and right must be '-' in contig 0, not '0' and '40'"},
        {header + "1\tA00\t1\t1\t0\t40\tfine\t-\t-\n",
         old + ":2: status must be ok, buried, Q or chimeric, not 'fine'"},
        {header + "1\tA00\t1\t1\t0\t40\tok\t\t-\n",
         old + ":2: buried_in must be '-' or a clone's identity, not empty"},
        {header + "1\tA00\t1\t1\t0\t40\tchimeric\t-\t1,,2\n",
         old + ":2: links must be '-' or contig numbers from 1 to 1000000 separated by commas, "
               "not '1,,2'"},
        {header + "0\tA00\t1\t1\t-\t-\tchimeric\t-\t1,1000001\n",
         old + ":2: links must be '-' or contig numbers from 1 to 1000000 separated by commas, "
               "not '1,1000001'"},
        {header + row + "\n" + row, old + ":3: a blank line inside the table"},
    };
    const std::string previousOutput = "an earlier output\n";
    for (const Case& c : cases) {
        writeFile(old, c.table);
        writeFile(t / "map.tsv", previousOutput);
        RunResult r = runContig(
            {"-o", t / "map.tsv", "--mtp", t / "map.mtp", "--previous", old, t / "1.bands"});
        EXPECT_EQ(r.status, 1) << c.error;
        EXPECT_EQ(r.err, "ERROR: " + c.error + "\n");
        EXPECT_EQ(readFile(t / "map.tsv"), previousOutput);
        EXPECT_FALSE(fileExists(t / "map.mtp"));
    }
    // Windows line ends and blank lines at the end are fine.
    writeFile(old, "contig\tclone\tgel\tordinal\tleft\tright\tstatus\tburied_in\tlinks\r\n" + row +
                       "\n\n");
    EXPECT_EQ(runContig({"--previous", old, t / "1.bands"}).status, 0);

    RunResult missing = runContig({"--previous", t / "none.tsv", t / "1.bands"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              "ERROR: couldn't read '" + t / "none.tsv" + "': No such file or directory\n");
    // Read before the bands files: its fault is the one told.
    writeFile(old, "");
    RunResult first = runContig({"--previous", old, t / "missing.bands"});
    EXPECT_EQ(first.err.substr(0, 7 + old.size()), "ERROR: " + old);
    // Only the table may be written over it.
    RunResult over = runContig({"--previous", old, "--mtp", old, t / "1.bands"});
    EXPECT_EQ(over.status, 1);
    EXPECT_EQ(over.err, "ERROR: the tiling path '" + old + "' is the previous table '" + old +
                            "': it would be written over\n");
}
