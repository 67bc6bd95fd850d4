// zeContig on hand-made libraries with a known answer: a chain in order,
// a buried clone, a chimeric clone bridging two chains and a chance pair
// between two chains (neither may join them), and the same table whatever
// the order of the files and of the clones in them.
#include <gtest/gtest.h>

#include <algorithm>

#include "mapTestSupport.h"

using namespace zetest;

namespace {

// At tolerance 2 (the tests' own), a clone's neighbours up to three
// places away along a chain match it within the cutoff, while the nearest
// share 82% of their bands and are not buried in each other.
const int CLONE_FRAGMENTS = 40;
const int STEP = 7;
const std::string TOLERANCE = "2";
// Where the second chain starts, far from the first.
const int SECOND = 400;
const int GENOME = 800;

// Chain clones <prefix>00 .. <prefix>(count-1), clone k on fragments
// from + STEP k onward. Their names run against their order on the genome
// for odd k, so that the order found is not the order of the names.
std::vector<HandClone> chain(const std::string& prefix, const std::vector<int>& genome, int from,
                             int count) {
    std::vector<HandClone> clones;
    for (int k = 0; k < count; ++k) {
        char name[32];
        snprintf(name, sizeof name, "%s%02d", prefix.c_str(), (k * 7) % count);
        clones.push_back(cloneOf(name, genome, from + STEP * k, CLONE_FRAGMENTS));
    }
    return clones;
}

int chainIndex(const std::string& name, int count) {
    int label = std::stoi(name.substr(1));
    for (int k = 0; k < count; ++k)
        if ((k * 7) % count == label) return k;
    return -1;
}

struct Library {
    TempDir dir;
    std::vector<std::string> files;
    void addGel(const std::vector<HandClone>& clones, const std::string& gel) {
        files.push_back(dir / (gel + ".bands"));
        writeFile(files.back(), bandsFile(clones, gel));
    }
};

std::vector<ContigRow> build(const Library& lib, std::vector<std::string> options) {
    options.insert(options.end(), lib.files.begin(), lib.files.end());
    RunResult r = runContig(options);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    return contigRows(r.out);
}

} // namespace

TEST(ContigKnown, ChainIsOneContigInOrderWithItsBuriedClone) {
    const int count = 40;
    std::vector<int> genome = fragmentBands(GENOME, 1);
    Library lib;
    std::vector<HandClone> clones = chain("A", genome, 0, count);
    // Inside clones 2 to 4 of the chain, and in no other.
    clones.push_back(cloneOf("Bur", genome, 29, 20));
    lib.addGel(clones, "1");
    std::vector<ContigRow> rows = build(lib, {"-t", TOLERANCE});
    ASSERT_EQ(rows.size(), clones.size());
    auto byClone = rowsByClone(rows);

    const ContigRow& buried = byClone.at("Bur");
    EXPECT_EQ(buried.contig, 1);
    EXPECT_EQ(buried.status, "buried");
    int parent = chainIndex(buried.buriedIn.substr(0, buried.buriedIn.find(':')), count);
    EXPECT_TRUE(parent >= 2 && parent <= 4) << buried.buriedIn;
    EXPECT_EQ(buried.links, "-");

    // Every chain clone in contig 1, with left ends in chain order one way
    // or the other, and the first name (A00) in the left half.
    std::vector<long> leftByIndex(count, -1);
    long rightmost = 0;
    for (const ContigRow& r : rows) {
        EXPECT_EQ(r.contig, 1) << r.clone;
        rightmost = std::max(rightmost, std::stol(r.right));
        if (r.clone == "Bur") continue;
        EXPECT_EQ(r.buriedIn, "-");
        EXPECT_LT(std::stol(r.left), std::stol(r.right));
        leftByIndex[chainIndex(r.clone, count)] = std::stol(r.left);
    }
    bool rising = leftByIndex[1] > leftByIndex[0];
    for (int k = 1; k < count; ++k)
        EXPECT_EQ(leftByIndex[k] > leftByIndex[k - 1], rising) << "clone " << k;
    const ContigRow& first = byClone.at("A00");
    EXPECT_LE(std::stol(first.left) + std::stol(first.right), rightmost);
    EXPECT_EQ(rows.front().left, "0");
}

TEST(ContigKnown, ChimericCloneDoesNotJoinTwoChains) {
    std::vector<int> genome = fragmentBands(GENOME, 2);
    Library lib;
    lib.addGel(chain("A", genome, 0, 40), "1");
    std::vector<HandClone> second = chain("B", genome, SECOND, 40);
    HandClone chimera = cloneOf("X", genome, 60, 22);
    HandClone piece = cloneOf("", genome, SECOND + 60, 22);
    chimera.bands.insert(chimera.bands.end(), piece.bands.begin(), piece.bands.end());
    second.push_back(chimera);
    lib.addGel(second, "2");
    // Each piece alone matches its chain's clones within the cutoff.
    std::vector<ContigRow> rows = build(lib, {"-t", TOLERANCE});
    auto byClone = rowsByClone(rows);
    EXPECT_EQ(byClone.at("X").contig, 0);
    EXPECT_EQ(byClone.at("X").status, "chimeric");
    EXPECT_EQ(byClone.at("X").links, "1,2");
    EXPECT_EQ(byClone.at("X").left, "-");
    int contigA = byClone.at("A00").contig, contigB = byClone.at("B00").contig;
    EXPECT_NE(contigA, contigB);
    for (const ContigRow& r : rows) {
        if (r.clone == "X") continue;
        EXPECT_EQ(r.contig, r.clone[0] == 'A' ? contigA : contigB) << r.clone;
    }
    EXPECT_EQ(rows.back().clone, "X"); // contig 0 comes last
}

TEST(ContigKnown, ChancePairDoesNotJoinTwoChains) {
    std::vector<int> genome = fragmentBands(GENOME, 3);
    std::vector<int> chance = fragmentBands(18, 99);
    Library lib;
    std::vector<HandClone> first = chain("A", genome, 0, 40);
    HandClone x = cloneOf("Ax", genome, 118, 30);
    x.bands.insert(x.bands.end(), chance.begin(), chance.end());
    first.push_back(x);
    std::vector<HandClone> second = chain("B", genome, SECOND, 40);
    HandClone y = cloneOf("By", genome, SECOND, 20);
    y.bands.insert(y.bands.end(), chance.begin(), chance.end());
    second.push_back(y);
    lib.addGel(first, "1");
    lib.addGel(second, "2");
    std::vector<ContigRow> rows = build(lib, {"-t", TOLERANCE});
    auto byClone = rowsByClone(rows);
    int contigA = byClone.at("A00").contig, contigB = byClone.at("B00").contig;
    EXPECT_NE(contigA, 0);
    EXPECT_NE(contigB, 0);
    EXPECT_NE(contigA, contigB);
    for (const ContigRow& r : rows)
        EXPECT_EQ(r.contig, r.clone[0] == 'A' ? contigA : contigB) << r.clone;
}

TEST(ContigKnown, OrderOfFilesAndClonesDoesNotChangeTheTable) {
    std::vector<int> genome = fragmentBands(GENOME, 4);
    std::vector<HandClone> first = chain("A", genome, 0, 30);
    std::vector<HandClone> second = chain("B", genome, SECOND, 30);
    HandClone chimera = cloneOf("X", genome, 30, 22);
    HandClone piece = cloneOf("", genome, SECOND + 30, 22);
    chimera.bands.insert(chimera.bands.end(), piece.bands.begin(), piece.bands.end());
    second.push_back(chimera);
    second.push_back(cloneOf("Bur", genome, SECOND + 29, 18));

    Library forward, filesSwapped, reversed;
    forward.addGel(first, "1");
    forward.addGel(second, "2");
    filesSwapped.addGel(second, "2");
    filesSwapped.addGel(first, "1");
    std::reverse(first.begin(), first.end());
    std::reverse(second.begin(), second.end());
    reversed.addGel(second, "2");
    reversed.addGel(first, "1");

    auto table = [](const Library& lib, const std::string& threads) {
        std::vector<std::string> args = {"-t", TOLERANCE, "-j", threads};
        args.insert(args.end(), lib.files.begin(), lib.files.end());
        RunResult r = runContig(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    };
    std::string expected = table(forward, "1");
    EXPECT_EQ(table(filesSwapped, "1"), expected);
    EXPECT_EQ(table(forward, "3"), expected);
    // Reversing the clones of a file changes their ordinals, and nothing
    // else.
    auto withoutOrdinals = [](const std::string& text) {
        std::vector<ContigRow> rows = contigRows(text);
        for (ContigRow& r : rows) {
            r.ordinal.clear();
            r.buriedIn = r.buriedIn.substr(0, r.buriedIn.rfind(':'));
        }
        std::string out;
        for (const ContigRow& r : rows)
            out += std::to_string(r.contig) + r.clone + r.gel + r.left + r.right + r.status +
                   r.buriedIn + r.links + "\n";
        return out;
    };
    EXPECT_EQ(withoutOrdinals(table(reversed, "2")), withoutOrdinals(expected));
    EXPECT_EQ(rowsByClone(contigRows(expected)).at("Bur").status, "buried");
}
