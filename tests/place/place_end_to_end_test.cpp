// zePlace end to end on the hand-made map of two contigs
// (placeTestSupport.h): a clean placement on either strand with its AGP,
// a split sequence, and bad input that ends the run with one ERROR line
// naming file and line and leaves no output behind.
#include <gtest/gtest.h>


#include <algorithm>
#include <cstdio>
#include <sstream>

#include "placeTestSupport.h"
#include "testSupport.h"

using namespace zetest;

namespace {

class PlaceRun : public ::testing::Test {
  protected:
    void SetUp() override { map = writeHandMap(dir.path()); }
    RunResult place(const std::string& fasta, std::vector<std::string> extra = {}) {
        writeFile(dir / "seq.fasta", fasta);
        std::vector<std::string> args{"--map", dir / "contigs.tsv", "-o", dir / "out.tsv"};
        args.insert(args.end(), extra.begin(), extra.end());
        if (std::find(extra.begin(), extra.end(), "--site") == extra.end() &&
            std::find(extra.begin(), extra.end(), "--enzyme") == extra.end()) {
            args.push_back("--enzyme");
            args.push_back("hindiii");
        }
        args.push_back(dir / "seq.fasta");
        args.push_back(dir / "1.bands");
        return run(ZEPLACE_BIN, args);
    }
    void expectRefused(const RunResult& r, const std::string& message) {
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("ERROR: " + message), std::string::npos) << r.err;
        EXPECT_FALSE(fileExists(dir / "out.tsv"));
    }
    TempDir dir;
    HandMap map;
};

TEST_F(PlaceRun, SequenceInsideAContigIsPlacedOnItsStrandAndInTheAgp) {
    std::string bases = fragmentsOf(map, 0, 20, 35);
    RunResult r = place(fastaRecord("fwd", bases) + fastaRecord("rev", reverseComplement(bases)),
                        {"--agp", dir / "map.agp", "--html", dir / "page.html", "--gff", dir / "p.gff"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string text = readFile(dir / "out.tsv");
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "sequence\tseq_start\tseq_end\tcontig\tleft\tright\tstrand\tfragments\tmatched\tclones\tstatus");
    auto rows = tsvRows(text);
    ASSERT_EQ(rows.size(), 2u) << text;
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 11u);
        EXPECT_EQ(row[1], "0");
        EXPECT_EQ(row[2], std::to_string(bases.size()));
        EXPECT_EQ(row[3], "1");
        EXPECT_EQ(row[10], "placed");
        EXPECT_GE(std::stoi(row[8]), 12) << text;
        // Fragments 20 to 35 of clones placed by fragment: well inside 10..50.
        EXPECT_GE(std::stol(row[4]), 10);
        EXPECT_LE(std::stol(row[5]), 50);
    }
    EXPECT_EQ(rows[0][6], "+");
    EXPECT_EQ(rows[1][6], "-");
    std::string agp = readFile(dir / "map.agp");
    EXPECT_EQ(agp.substr(0, agp.find('\n')), "##agp-version\t2.1");
    std::string length = std::to_string(bases.size());
    std::string gapStart = std::to_string(bases.size() + 1);
    EXPECT_NE(agp.find("contig1\t1\t" + length + "\t1\tW\t"), std::string::npos) << agp;
    EXPECT_NE(agp.find("contig1\t" + gapStart + "\t" + std::to_string(bases.size() + 100) +
                       "\t2\tN\t100\tscaffold\tyes\tmap\n"),
              std::string::npos)
        << agp;
    EXPECT_NE(agp.find("\t3\tW\t"), std::string::npos);
    EXPECT_NE(readFile(dir / "page.html").find("contig1"), std::string::npos);
    EXPECT_NE(readFile(dir / "p.gff").find("contig1\tzePlace\tmatch\t"), std::string::npos);
}

TEST_F(PlaceRun, SequenceGluedFromTwoContigsIsSplitIntoTwoRows) {
    std::string first = fragmentsOf(map, 0, 5, 20), second = fragmentsOf(map, 1, 30, 45);
    RunResult r = place(fastaRecord("glued", first + second));
    ASSERT_EQ(r.status, 0) << r.err;
    auto rows = tsvRows(readFile(dir / "out.tsv"));
    ASSERT_EQ(rows.size(), 2u) << readFile(dir / "out.tsv");
    EXPECT_EQ(rows[0][3], "1");
    EXPECT_EQ(rows[1][3], "2");
    for (const auto& row : rows)
        EXPECT_EQ(row[10], "split");
    EXPECT_EQ(rows[0][1], "0");
    EXPECT_EQ(rows[0][2], rows[1][1]);
    EXPECT_EQ(rows[1][2], std::to_string(first.size() + second.size()));
    long cut = std::stol(rows[0][2]);
    EXPECT_GT(cut, (long)first.size() - 13000);
    EXPECT_LT(cut, (long)first.size() + 13000);
}

TEST_F(PlaceRun, SequenceWithoutSiteIsUnplacedWithAWarning) {
    RunResult r = place(fastaRecord("none", std::string(5000, 'A')) +
                        fastaRecord("ambiguous", std::string(300, 'N') + "ACGTRYKM"));
    ASSERT_EQ(r.status, 0) << r.err;
    auto rows = tsvRows(readFile(dir / "out.tsv"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"none", "0", "5000", "-", "-", "-", "-", "0", "0",
                                                 "0", "unplaced"}));
    EXPECT_NE(r.err.find("seq.fasta:1: the sequence 'none' holds no AAGCTT site"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("304 bases of 1 sequences are N or IUPAC codes"), std::string::npos) << r.err;
}

TEST_F(PlaceRun, CompressedSequencesAreReadAndADamagedStreamIsRefused) {
    std::string text = fastaRecord("fwd", fragmentsOf(map, 0, 20, 35));
    std::string second = fastaRecord("rev", reverseComplement(fragmentsOf(map, 1, 20, 35)));
    const std::string one = gzipped(text), two = gzipped(second);
    auto placeGzip = [&](const std::string& bytes) {
        writeFile(dir / "seq.fasta.gz", bytes);
        return run(ZEPLACE_BIN, {"--map", dir / "contigs.tsv", "--site", "AAGCTT", "-o",
                                 dir / "out.tsv", dir / "seq.fasta.gz", dir / "1.bands"});
    };
    RunResult r = placeGzip(one + two); // two files joined by cat
    ASSERT_EQ(r.status, 0) << r.err;
    auto rows = tsvRows(readFile(dir / "out.tsv"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0] + rows[0][10] + rows[1][0] + rows[1][10], "fwdplacedrevplaced");
    std::remove((dir / "out.tsv").c_str());
    // The second file's header damaged: its records must not go missing.
    std::string damaged = two;
    damaged[1] = 'x';
    expectRefused(placeGzip(one + damaged),
                  dir / "seq.fasta.gz" + ":" + std::to_string(std::count(text.begin(), text.end(), '\n') + 1) +
                      ": couldn't read: bytes after the end of the gzip stream that start no gzip member");
}

TEST_F(PlaceRun, BadFastaFilesAreRefusedAtTheirLine) {
    expectRefused(place("ACGT\n>a\nACGT\n"),
                  dir / "seq.fasta" + ":1: expected a header line starting with '>'");
    expectRefused(place(">a\n>b\nACGT\n"), dir / "seq.fasta" + ":1: an empty record");
    expectRefused(place(">a\nACGT\n>b\n"), dir / "seq.fasta" + ":3: an empty record");
    expectRefused(place(">a\nACGT\nAC*T\n"), dir / "seq.fasta" + ":3: '*' in column 3 is no base");
    expectRefused(place(">a x\nACGT\n>a y\nACGT\n"), dir / "seq.fasta" + ":3: a second record named 'a'");
    expectRefused(place(""), dir / "seq.fasta" + ":1: no FASTA record");
}

TEST_F(PlaceRun, BadSiteOrEnzymeIsAUsageError) {
    RunResult r = place(">a\nACGT\n", {"--site", "AAGNTT"});
    expectRefused(r, "the site 'AAGNTT' may hold only the bases A, C, G and T");
    EXPECT_NE(r.err.find("(zePlace -h for help)"), std::string::npos);
    expectRefused(place(">a\nACGT\n", {"--enzyme", "NoSuchI"}), "unknown enzyme 'NoSuchI'");
    // An empty sequence file name once stood for none: nothing placed, exit 0.
    RunResult empty = run(ZEPLACE_BIN, {"--map", dir / "contigs.tsv", "--enzyme", "HindIII", "-o",
                                        dir / "out.tsv", "", dir / "1.bands"});
    expectRefused(empty, "an empty file name among the operands (zePlace -h for help)");
}

TEST_F(PlaceRun, MissingOrMismatchedSizeFileIsNamed) {
    std::string sizes = readFile(dir / "1.sizes");
    std::string fasta = fastaRecord("fwd", fragmentsOf(map, 0, 20, 35));
    unlink((dir / "1.sizes").c_str());
    expectRefused(place(fasta), "the size file '" + dir / "1.sizes" + "' of '" + dir / "1.bands" +
                                    "' is missing");
    std::string other = sizes;
    other.replace(other.find("C1_03 16"), 8, "C1_04 16");
    writeFile(dir / "1.sizes", other);
    expectRefused(place(fasta), dir / "1.sizes" + ":19: the header 'C1_04 16 1' differs from 'C1_03 16 1' at " +
                                    dir / "1.bands" + ":19");
    writeFile(dir / "1.sizes", sizes.substr(0, sizes.find("         C1_03")));
    expectRefused(place(fasta), "'" + dir / "1.sizes" + "' has 1 blocks, its bands file '" +
                                    dir / "1.bands" + "' " );
}

} // namespace
