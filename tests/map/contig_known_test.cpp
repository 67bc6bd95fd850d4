// zeContig on a hand-made library of two chains, a chimeric clone and a
// buried one: the same table whatever the order of the files and of the
// clones in them, and whatever the threads. What each stage of the build
// decides is tested on its own (map_stages_test.cpp, map_decision_test.cpp).
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

struct Library {
    TempDir dir;
    std::vector<std::string> files;
    void addGel(const std::vector<HandClone>& clones, const std::string& gel) {
        files.push_back(dir / (gel + ".bands"));
        writeFile(files.back(), bandsFile(clones, gel));
    }
};

} // namespace

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
