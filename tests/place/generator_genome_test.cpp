// zeGenLibrary's genome and draft: the site lies at every cut of the
// truth and nowhere else, the sizes match the bands block for block, and
// the draft's sequences are the genome's pieces its truth names.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <sstream>

#include "placeTestSupport.h"
#include "testSupport.h"
#include "zeDigest.h"

using namespace zetest;

namespace {

std::string sequenceOf(const std::string& fasta, const std::string& name) {
    std::istringstream in(fasta);
    std::string line, bases;
    bool inside = false;
    while (std::getline(in, line)) {
        if (line[0] == '>')
            inside = line.substr(1) == name;
        else if (inside)
            bases += line;
    }
    return bases;
}

TEST(GeneratorGenome, SitesAtTheTruthsCutsAndDraftPiecesFromTheGenome) {
    TempDir dir;
    RunResult r = run(ZE_GENLIBRARY_BIN, {"--out", dir / "lib", "--clones", "40", "--genome-length",
                                          "3000000", "--draft", "--misjoins", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string genome = sequenceOf(readFile(dir / "lib/genome.fasta"), "genome");
    ASSERT_EQ(genome.size(), 3000000u);
    Digest d("AAGCTT");
    d.start();
    std::string error;
    ASSERT_TRUE(d.add(genome.data(), genome.size(), error));
    std::vector<int64_t> cuts{0};
    for (const SequenceFragment& f : d.fragments())
        cuts.push_back(f.start);
    cuts.push_back(cuts.back() + d.fragments().back().length);
    // Fragment k of the truth runs from cut k to cut k + 1, cut 0 the genome's start.
    for (const auto& row : tsvRows(readFile(dir / "lib/truth.tsv"))) {
        if (row[5] == "-") continue;
        size_t first = std::stoul(row[5]), last = std::stoul(row[6]);
        ASSERT_LT(last + 1, cuts.size());
        EXPECT_GE(cuts[first], std::stoll(row[2])) << row[0];
        EXPECT_LE(cuts[last + 1], std::stoll(row[3])) << row[0];
        if (first > 0) {
            EXPECT_LT(cuts[first - 1], std::stoll(row[2])) << row[0];
        }
    }
    std::string draft = readFile(dir / "lib/draft.fasta");
    int misjoins = 0;
    for (const auto& row : tsvRows(readFile(dir / "lib/draft-truth.tsv"))) {
        std::string piece = sequenceOf(draft, row[0]);
        int64_t s = std::stoll(row[2]), e = std::stoll(row[3]), gs = std::stoll(row[4]),
                ge = std::stoll(row[5]);
        ASSERT_EQ(e - s, ge - gs);
        std::string part = genome.substr((size_t)gs, (size_t)(ge - gs));
        EXPECT_EQ(piece.substr((size_t)s, (size_t)(e - s)), row[6] == "+" ? part : reverseComplement(part))
            << row[0];
        misjoins += row[1] == "2";
    }
    EXPECT_EQ(misjoins, 2);
    // Sizes beside the bands, block for block.
    std::string bands = readFile(dir / "lib/1.bands"), sizes = readFile(dir / "lib/1.sizes");
    EXPECT_EQ(std::count(bands.begin(), bands.end(), '\n'), std::count(sizes.begin(), sizes.end(), '\n'));
    EXPECT_EQ(bands.substr(0, bands.find('\n')), sizes.substr(0, sizes.find('\n')));
}

TEST(GeneratorGenome, SelfOverlappingOrBadSiteIsRefusedBeforeAnyFile) {
    TempDir dir;
    RunResult r = run(ZE_GENLIBRARY_BIN, {"--out", dir / "lib", "--clones", "5", "--genome", "--site", "ATATAT"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("overlaps itself"), std::string::npos) << r.err;
    EXPECT_FALSE(fileExists(dir / "lib"));
    r = run(ZE_GENLIBRARY_BIN, {"--out", dir / "lib", "--site", "AAGNTT"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--site needs bases A, C, G and T only"), std::string::npos) << r.err;
    // A control character is shown, not sent to the terminal.
    r = run(ZE_GENLIBRARY_BIN, {"--out", dir / "lib", "--site", "AAG\x1b[2J"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not 'AAG\\x1B[2J'"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << r.err;
}

} // namespace

namespace {

// The sizes of each clone's block of a sizes file, by clone name.
std::map<std::string, std::vector<double>> sizeBlocks(const std::string& text) {
    std::map<std::string, std::vector<double>> blocks;
    std::istringstream in(text);
    std::string name;
    long count = 0, gel = 0;
    while (in >> name >> count >> gel) {
        std::vector<double>& sizes = blocks[name];
        for (long k = 0; k < count; ++k) {
            double size = 0;
            in >> size;
            sizes.push_back(size);
        }
        double end = 0;
        in >> end; // -1
    }
    return blocks;
}

bool nearOne(double size, const std::vector<double>& of) {
    for (double s : of)
        if (std::fabs(size - s) <= 0.03 * s) return true;
    return false;
}

TEST(GeneratorGenome, GenomeFromAFastaFileCutsAtItsSites) {
    TempDir dir;
    HandMap m = writeHandMap(dir.path());
    std::string fasta = fastaRecord("one", m.genomes[0]);
    std::string second = m.genomes[1];
    for (size_t i = 0; i < second.size(); i += 7)
        second[i] = (char)std::tolower((unsigned char)second[i]); // either case is a base
    fasta += fastaRecord("two", second);
    writeFile(dir / "genome.fasta", fasta);
    RunResult r = run(ZE_GENLIBRARY_BIN,
                      {"--out", dir / "lib", "--clones", "30", "--genome-from", dir / "genome.fasta",
                       "--perfect", "--noise", "0", "--clone-mean", "60000", "--clone-sd", "0"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fileExists(dir / "lib/genome.fasta"));
    // The records end to end: the second's sites after the first's bases.
    std::vector<int64_t> cuts = m.sites[0];
    for (int64_t s : m.sites[1])
        cuts.push_back((int64_t)m.genomes[0].size() + s);
    cuts.push_back((int64_t)(m.genomes[0].size() + m.genomes[1].size()));
    std::map<std::string, std::vector<double>> blocks = sizeBlocks(readFile(dir / "lib/1.sizes"));
    int checked = 0;
    for (const auto& row : tsvRows(readFile(dir / "lib/truth.tsv"))) {
        if (row[5] == "-") continue;
        size_t first = std::stoul(row[5]), last = std::stoul(row[6]);
        ASSERT_LT(last + 1, cuts.size());
        EXPECT_GE(cuts[first], std::stoll(row[2])) << row[0];
        EXPECT_LE(cuts[last + 1], std::stoll(row[3])) << row[0];
        std::vector<double> want;
        for (size_t k = first; k <= last; ++k) {
            double length = (double)(cuts[k + 1] - cuts[k]);
            if (length >= 600 && length <= 30000) want.push_back(length);
        }
        const std::vector<double>& got = blocks[row[0]];
        ASSERT_FALSE(got.empty()) << row[0];
        for (double s : got)
            EXPECT_TRUE(nearOne(s, want)) << row[0] << " has a band of " << s << " bases";
        for (double s : want)
            EXPECT_TRUE(nearOne(s, got)) << row[0] << " lacks the fragment of " << s << " bases";
        ++checked;
    }
    EXPECT_GT(checked, 20);
}

TEST(GeneratorGenome, GenomeFromRefusesABadFileAndRepeats) {
    TempDir dir;
    writeFile(dir / "bad.fasta", ">one\nACGTAAGCTTXACGT\n");
    RunResult r = run(ZE_GENLIBRARY_BIN, {"--out", dir / "lib", "--genome-from", dir / "bad.fasta"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("bad.fasta:2: 'X'"), std::string::npos) << r.err;
    EXPECT_FALSE(fileExists(dir / "lib"));
    writeFile(dir / "none.fasta", ">one\nACGTACGTACGT\n");
    r = run(ZE_GENLIBRARY_BIN, {"--out", dir / "lib", "--genome-from", dir / "none.fasta"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no AAGCTT site"), std::string::npos) << r.err;
    r = run(ZE_GENLIBRARY_BIN,
            {"--out", dir / "lib", "--genome-from", dir / "none.fasta", "--repeats", "0.1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("exclude each other"), std::string::npos) << r.err;
}

} // namespace
