// The stages of zePlace on small inputs: the digest, the FASTA reader's
// limits, the binomial tails, the chains and a piece's places on a map of known fragments.
#include <gtest/gtest.h>

#include <cmath>

#include "placeTestSupport.h"
#include "testSupport.h"
#include "zeCloneSizes.h"
#include "zeDigest.h"
#include "zeFastaReader.h"
#include "zePlacement.h"
#include "zeSequenceChains.h"

using namespace zetest;

namespace {

std::vector<SequenceFragment> digestOf(const std::string& site, const std::vector<std::string>& lines,
                                       std::string* error = nullptr) {
    Digest d(site);
    d.start();
    std::string why;
    for (const std::string& line : lines)
        if (!d.add(line.data(), line.size(), why)) {
            if (error) *error = why;
            return {};
        }
    return d.fragments();
}

TEST(Digest, FragmentsRunFromSiteToSiteAcrossLines) {
    auto f = digestOf("AAGCTT", {"ccAAGC", "TTgggggAAGCTTaAagcttTT"});
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].start, 2);
    EXPECT_EQ(f[0].length, 11);
    EXPECT_EQ(f[1].start, 13);
    EXPECT_EQ(f[1].length, 7);
}

TEST(Digest, NonPalindromicSiteIsFoundInBothOrientations) {
    // GGTCTC and its reverse complement GAGACC.
    auto f = digestOf("GGTCTC", {"AGGTCTCAAAAGAGACCTTTGGTCTC"});
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].start, 1);
    EXPECT_EQ(f[0].length, 10);
    EXPECT_EQ(f[1].length, 9);
}

TEST(Digest, AmbiguousBasesBreakSitesAndAreCounted) {
    Digest d("AAGCTT");
    d.start();
    std::string error;
    ASSERT_TRUE(d.add("AAGNTTAAGCTTAARCTTnAAGCTT", 25, error));
    EXPECT_EQ(d.sites(), 2);
    EXPECT_EQ(d.ambiguousBases(), 3);
    EXPECT_EQ(d.length(), 25);
    digestOf("AAGCTT", {"ACGT", "AC-T"}, &error);
    EXPECT_EQ(error, "'-' in column 3 is no base (ACGT, N or an IUPAC code)");
    digestOf("AAGCTT", {std::string("AC\x01T", 4)}, &error);
    EXPECT_EQ(error, "the byte 0x01 in column 3 is no base (ACGT, N or an IUPAC code)");
}

TEST(Digest, SitesAndEnzymes) {
    std::string site, error;
    EXPECT_TRUE(readSite("gaattc", site, error));
    EXPECT_EQ(site, "GAATTC");
    EXPECT_FALSE(readSite("GAANTC", site, error));
    EXPECT_FALSE(readSite("GAA", site, error));
    EXPECT_TRUE(enzymeSite("ecori", site, error));
    EXPECT_EQ(site, "GAATTC");
    EXPECT_TRUE(enzymeSite("HindIII", site, error));
    EXPECT_EQ(site, "AAGCTT");
    EXPECT_FALSE(enzymeSite("Hind", site, error));
    EXPECT_NE(error.find("BamHI"), std::string::npos);
}

class Lines : public FastaSink {
  public:
    bool record(const std::string& name, long line, std::string&) override {
        seen += "[" + name + "@" + std::to_string(line) + "]";
        return true;
    }
    bool bases(const char* text, size_t length, long, std::string&) override {
        seen.append(text, length);
        return true;
    }
    void recordEnd() override { seen += ";"; }
    std::string seen;
};

TEST(FastaReader, BlankLinesWindowsEndsAndDescriptions) {
    TempDir dir;
    writeFile(dir / "a.fa", "\n>one first record\r\nAC\r\n\r\nGT\r\n>two\nTT");
    Lines sink;
    std::string error;
    ASSERT_TRUE(readFasta(dir / "a.fa", sink, error)) << error;
    EXPECT_EQ(sink.seen, "[one@2]ACGT;[two@6]TT;");
}

TEST(FastaReader, OverLongLineAndMissingFileAreErrors) {
    TempDir dir;
    writeFile(dir / "a.fa", ">one\nACGTACGT\nACGTACGTACGT\n");
    Lines sink;
    std::string error;
    EXPECT_FALSE(readFasta(dir / "a.fa", sink, error, 10));
    EXPECT_EQ(error, dir / "a.fa" + ":3: a line longer than 10 bytes");
    EXPECT_FALSE(readFasta(dir / "none.fa", sink, error));
    EXPECT_EQ(error.find("couldn't read '" + dir / "none.fa" + "'"), 0u) << error;
}

TEST(FastaReader, GzipMembersAreReadAndADamagedStreamIsAnError) {
    TempDir dir;
    const std::string one = ">one\n" + std::string(20000, 'A') + "\n", two = ">two\nCC\n";
    const std::string whole = gzipped(one);
    const std::string first = "[one@1]" + std::string(20000, 'A') + ";";
    struct Case {
        std::string file, error, seen = ""; // error: empty when read
    };
    const std::vector<Case> cases = {
        {whole, "", first},
        {whole + gzipped(two), "", first + "[two@3]CC;"}, // as `cat a.gz b.gz` joins them
        {whole.substr(0, whole.size() - 6), "the gzip stream is cut short"},
        {whole + gzipped(two).substr(0, 5), "the gzip stream is cut short"},
        // zlib's own reader ends quietly here, losing the second file
        {whole + "x" + gzipped(two), "bytes after the end of the gzip stream that start no gzip member"},
        {whole + std::string(4, '\0'), "bytes after the end of the gzip stream that start no gzip member"},
        {whole.substr(0, 10) + std::string(40, '\xff'), "a corrupt gzip stream: invalid block type"},
    };
    for (const Case& c : cases) {
        writeFile(dir / "a.fa.gz", c.file);
        Lines sink;
        std::string error;
        bool read = readFasta(dir / "a.fa.gz", sink, error);
        EXPECT_EQ(read, c.error.empty()) << c.error;
        if (c.error.empty()) {
            EXPECT_EQ(sink.seen, c.seen);
        } else {
            EXPECT_EQ(error.find(dir / "a.fa.gz" + ":"), 0u) << error;
            EXPECT_NE(error.find("couldn't read: " + c.error), std::string::npos) << error;
        }
    }
}

TEST(FastaReader, ANameWithAControlCharacterIsRefused) {
    TempDir dir;
    writeFile(dir / "a.fa", ">ok\nAC\n>a\x01" "b\nAC\n");
    Lines sink;
    std::string error;
    EXPECT_FALSE(readFasta(dir / "a.fa", sink, error));
    EXPECT_EQ(error, dir / "a.fa" + ":3: a header whose name holds a control character (byte 1)");
}

TEST(Chains, BinomialTailMatchesTheDirectSum) {
    for (int n : {1, 5, 20})
        for (int m = 0; m <= n; ++m) {
            double q = 0.03, sum = 0;
            for (int j = m; j <= n; ++j)
                sum += std::exp(std::lgamma(n + 1.0) - std::lgamma(j + 1.0) - std::lgamma(n - j + 1.0)) *
                       std::pow(q, j) * std::pow(1 - q, n - j);
            EXPECT_NEAR(std::exp(logBinomialTail(m, n, q)), sum, 1e-12 + 1e-9 * sum);
        }
    EXPECT_EQ(logBinomialTail(3, 2, 0.5), -INFINITY);
}

TEST(Chains, PoissonBinomialTailIsTheSumOverWhichTrialsSucceed) {
    EXPECT_NEAR(logPoissonBinomialTail(3, std::vector<double>(6, 0.04)), logBinomialTail(3, 6, 0.04), 1e-9);
    const std::vector<double> q{0.5, 0.01, 0.2, 0.003};
    for (int m = 1; m <= 4; ++m) {
        double sum = 0;
        for (int set = 0; set < 16; ++set) {
            double p = 1;
            for (int k = 0; k < 4; ++k)
                p *= (set >> k) & 1 ? q[(size_t)k] : 1 - q[(size_t)k];
            sum += __builtin_popcount((unsigned)set) >= m ? p : 0;
        }
        EXPECT_NEAR(std::exp(logPoissonBinomialTail(m, q)), sum, 1e-12 + 1e-9 * sum);
    }
}

TEST(Chains, CloseTailIsTheSumOverEachTrialsOutcome) {
    const std::vector<double> q{0.5, 0.01, 0.2, 0.003};
    const double closeShare = 0.4;
    for (int hits = 0; hits <= 5; ++hits)
        for (int close = 0; close <= hits; ++close) {
            // Each trial a miss (0), a hit not close (1) or a close hit (2).
            double sum = 0;
            for (int outcome = 0; outcome < 81; ++outcome) {
                double p = 1;
                int h = 0, c = 0;
                for (int k = 0, rest = outcome; k < 4; ++k, rest /= 3) {
                    const int o = rest % 3;
                    const double v = q[(size_t)k];
                    p *= o == 0 ? 1 - v : o == 1 ? v * (1 - closeShare) : v * closeShare;
                    h += o > 0;
                    c += o == 2;
                }
                sum += h >= hits && c >= close ? p : 0;
            }
            const double tail = logCloseTail(hits, close, q, closeShare);
            if (sum == 0)
                EXPECT_EQ(tail, -INFINITY) << hits << " " << close;
            else
                EXPECT_NEAR(std::exp(tail), sum, 1e-12 + 1e-9 * sum) << hits << " " << close;
        }
    // No close hit asked for: the plain tail.
    EXPECT_NEAR(logCloseTail(2, 0, q, closeShare), logPoissonBinomialTail(2, q), 1e-9);
}

// A map of the given fragments; a sequence of 5 fragments of sizes 0,
// 100, .. 400 units.
PlaceMap mapOf(std::vector<MapFragment> fragments, double density) {
    PlaceMap map;
    map.contigs.resize(3);
    map.contigs[1].end = map.contigs[2].end = 20;
    std::sort(fragments.begin(), fragments.end(),
              [](const MapFragment& a, const MapFragment& b) { return a.units < b.units; });
    map.fragments = fragments;
    map.density = density;
    return map;
}
std::vector<SequenceBand> fiveBands() {
    std::vector<SequenceBand> seq;
    for (int k = 0; k < 5; ++k)
        seq.push_back({(int64_t)k * 1000, 1000, 100.0 * k});
    return seq;
}

TEST(Chains, WellSupportedFragmentsMatchCloserSizes) {
    EXPECT_LT(fragmentTolerance(ChainSettings(), 16), fragmentTolerance(ChainSettings(), 2) / 2);
    // Fragments 2.5 units off the sequence's: of 2 bands on contig 1, of 16 on contig 2.
    std::vector<MapFragment> f;
    for (int k = 0; k < 5; ++k)
        f.insert(f.end(), {{1, (double)k, 100.0 * k + 2.5, 2}, {2, (double)k, 100.0 * k + 2.5, 16}});
    std::vector<Chain> chains = findChains(fiveBands(), mapOf(f, 1), ChainSettings());
    ASSERT_FALSE(chains.empty());
    for (const Chain& c : chains)
        EXPECT_EQ(c.contig, 1);
}

// One chain of 5 matches: with every size at the middle of its tolerance,
// its 4 trials all close, the chance is CLOSE_SIZE^4 that of the same
// chain with every size near the tolerance's edge.
TEST(Chains, CloseSizesMakeAChainLessLikelyByChance) {
    const double edge = 0.9 * fragmentTolerance(ChainSettings(), 3);
    auto chanceAt = [](double off) {
        std::vector<MapFragment> f;
        for (int k = 0; k < 5; ++k)
            f.push_back({1, (double)k, 100.0 * k + off, 3});
        std::vector<Chain> chains = findChains(fiveBands(), mapOf(f, 1), ChainSettings());
        EXPECT_EQ(chains.size(), 1u);
        EXPECT_EQ(chains.empty() ? 0 : chains[0].matched(), 5);
        return chains.empty() ? 0 : chains[0].logChance;
    };
    EXPECT_NEAR(chanceAt(0) - chanceAt(edge), 4 * std::log(CLOSE_SIZE), 1e-9);
}

// Contig 1 holds the fragments in order, contig 2 all at one place where
// both strands fit: one other place, listed once. No clone lies over
// either place, so neither shows a strand.
TEST(Placement, AnAmbiguousPieceListsEachOtherPlaceOnce) {
    std::vector<MapFragment> f;
    for (int k = 0; k < 5; ++k)
        f.insert(f.end(), {{1, 2.0 + k, 100.0 * k, 5}, {2, 5, 100.0 * k, 5}});
    std::vector<PlacementRow> rows = placeSequence("s", 5000, fiveBands(), mapOf(f, 0.01), PlaceSettings());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].contig, 1);
    EXPECT_EQ(rows[0].strand, 0);
    EXPECT_EQ(rows[1].contig, 2);
    EXPECT_EQ(rows[1].status, PlaceStatus::Ambiguous);
}

// A contig whose fragments lie one band unit apart with sizes 100 units
// apart; a second contig with the same sizes in random order.
PlaceMap twoContigs() {
    const int order[10] = {3, 7, 1, 9, 0, 5, 2, 8, 6, 4};
    std::vector<MapFragment> f;
    for (int k = 0; k < 10; ++k)
        f.insert(f.end(), {{1, (double)k, 100.0 * k, 3}, {2, (double)k, 100.0 * order[k] + 1, 3}});
    return mapOf(f, 1);
}

TEST(Chains, FragmentsInOrderChainOnTheirContigAndStrand) {
    PlaceMap map = twoContigs();
    std::vector<SequenceBand> seq;
    for (int k = 8; k >= 2; --k)
        seq.push_back({(int64_t)(8 - k) * 1000, 1000, 100.0 * k + 2});
    std::vector<Chain> chains = findChains(seq, map, ChainSettings());
    const Chain* best = nullptr;
    for (const Chain& c : chains)
        if (!best || c.matched() > best->matched()) best = &c;
    ASSERT_TRUE(best);
    EXPECT_EQ(best->contig, 1);
    EXPECT_EQ(best->strand, -1);
    EXPECT_EQ(best->matched(), 7);
    for (const Chain& c : chains)
        if (c.contig == 2) {
            EXPECT_LE(c.matched(), 4);
        }
}

TEST(CloneSizes, SizeFilePathAndMismatch) {
    EXPECT_EQ(sizesPathOf("dir/17.bands"), "dir/17.sizes");
    EXPECT_EQ(sizesPathOf("gel"), "gel.sizes");
    Fingerprint a{"c1", "17", {1, 2, 3}, 1}, b{"c2", "17", {1, 2}, 2};
    EXPECT_EQ(sizesMismatch({a, b}, {a, b}, "x.bands", "x.sizes"), "");
    Fingerprint shorter = b;
    shorter.bands.pop_back();
    EXPECT_EQ(sizesMismatch({a, b}, {a, shorter}, "x.bands", "x.sizes"),
              "x.sizes:6: the header 'c2 1 17' differs from 'c2 2 17' at x.bands:6: the size file "
              "belongs to other bands");
}

} // namespace
