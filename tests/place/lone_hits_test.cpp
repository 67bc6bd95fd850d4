// Lone hits confirmed by the fingerprints: a clone at the meeting of two
// contigs, a chimeric clone whose contig lies elsewhere, and a false hit.
#include <gtest/gtest.h>

#include "zeLoneHits.h"

namespace {

ContigTableRow rowOf(int contig, const std::string& clone, int ordinal, long left, long right) {
    ContigTableRow r;
    r.contig = contig;
    r.clone = clone;
    r.gel = "1";
    r.ordinal = ordinal;
    r.left = left;
    r.right = right;
    return r;
}

Fingerprint printOf(const std::string& clone, int ordinal, std::vector<int> bands) {
    Fingerprint f;
    f.clone = clone;
    f.gel = "1";
    f.ordinal = ordinal;
    f.bands = std::move(bands);
    return f;
}

// 25 bands from `from` on, 40 units apart: far more than the tolerance.
std::vector<int> bandsFrom(int from) {
    std::vector<int> b;
    for (int k = 0; k < 25; ++k)
        b.push_back(from + 40 * k);
    return b;
}

// Contig 1: clones a (the lone hit of marker 0) and n; contig 2: b and c,
// marker 0 on both; z1..z4 in no contig. `aWithB`: a shares b's bands;
// `nWithB`: so does n. `others` more markers hit all eight clones each.
ChromosomeInput confirmed(bool aWithB, bool nWithB, size_t others, std::vector<size_t> hit0 = {0, 2, 3}) {
    std::vector<ContigTableRow> rows = {rowOf(1, "a", 1, 0, 30), rowOf(1, "n", 2, 10, 40),
                                        rowOf(2, "b", 3, 0, 30), rowOf(2, "c", 4, 5, 35)};
    std::vector<Fingerprint> prints = {printOf("a", 1, bandsFrom(aWithB ? 100 : 117)),
                                       printOf("n", 2, bandsFrom(nWithB ? 100 : 131)),
                                       printOf("b", 3, bandsFrom(100)),
                                       printOf("c", 4, bandsFrom(100))};
    for (int k = 1; k <= 4; ++k) {
        rows.push_back(rowOf(0, "z" + std::to_string(k), 4 + k, -1, -1));
        prints.push_back(printOf("z" + std::to_string(k), 4 + k, bandsFrom(2000 + 9 * k)));
    }
    ChromosomeInput in;
    in.contigs.resize(2);
    in.contigs[0].contig = 1;
    in.contigs[0].hits.push_back({0, 30, 0, 0, false});
    in.contigs[1].contig = 2;
    for (size_t k : hit0)
        if (k > 0) in.contigs[1].hits.push_back({rows[k].left, rows[k].right, k, 0, false});
    in.repeatProbes.assign(1 + others, false);
    in.rowsHit = {hit0};
    in.rowsHit.resize(1 + others, {0, 1, 2, 3, 4, 5, 6, 7});
    std::string error;
    EXPECT_TRUE(confirmLoneHits(in, rows, prints, 7, error)) << error;
    return in;
}

bool confirmedFor(bool aWithB, bool nWithB, size_t others = 0) {
    ChromosomeInput in = confirmed(aWithB, nWithB, others);
    EXPECT_FALSE(in.contigs[1].hits[0].confirmed); // two hits there: no lone one
    return in.contigs[0].hits[0].confirmed;
}

TEST(LoneHits, ConfirmedWhereTwoContigsMeetOnly) {
    EXPECT_TRUE(confirmedFor(true, true));
    EXPECT_FALSE(confirmedFor(true, false)); // a chimeric clone: its contig is elsewhere
    EXPECT_FALSE(confirmedFor(false, true)); // a false hit
}

TEST(LoneHits, ConfirmedByEitherTestWhereFewClonesCarryTheMarker) {
    // Marker 0 hits 3 clones, the others 8: at most half the median, so the
    // map broke there for want of clones, and either test will do.
    EXPECT_TRUE(confirmedFor(true, false, 2));
    EXPECT_TRUE(confirmedFor(false, true, 2));
    EXPECT_FALSE(confirmedFor(false, false, 2)); // a false hit all the same
    EXPECT_FALSE(confirmedFor(true, false, 1));  // median 5.5: 3 is more than half
    EXPECT_FALSE(confirmedFor(false, true, 1));
    // The marker's one hit in the table has nothing to be tested against.
    EXPECT_TRUE(confirmed(false, false, 0, {0}).contigs[0].hits[0].confirmed);
}

TEST(LoneHits, ACloneMissingFromTheBandsFilesIsAnError) {
    std::vector<ContigTableRow> rows = {rowOf(1, "a", 1, 0, 30)};
    ChromosomeInput in;
    std::string error;
    EXPECT_FALSE(confirmLoneHits(in, rows, {}, 7, error));
    EXPECT_EQ(error, "the table's clone a (gel 1, ordinal 1) is in none of the bands files");
}

} // namespace
