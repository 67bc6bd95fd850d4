// The bands-file writer against its reader: the step's exact bytes, and
// fingerprints of every kind written and read back unchanged.
#include <gtest/gtest.h>

#include <climits>
#include <sstream>

#include "testSupport.h"
#include "zeBandsFile.h"

namespace {

Fingerprint print(const std::string& clone, const std::string& gel, std::vector<int> bands) {
    Fingerprint f;
    f.clone = clone;
    f.gel = gel;
    f.bands = std::move(bands);
    return f;
}

std::string textOf(const std::vector<Fingerprint>& prints) {
    std::string text;
    for (const Fingerprint& f : prints)
        appendBandsBlock(text, f);
    return text;
}

void expectSame(const std::vector<Fingerprint>& got, const std::vector<Fingerprint>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t k = 0; k < want.size(); k++) {
        EXPECT_EQ(got[k].clone, want[k].clone) << k;
        EXPECT_EQ(got[k].gel, want[k].gel) << k;
        EXPECT_EQ(got[k].bands, want[k].bands) << k;
        EXPECT_EQ(got[k].ordinal, (int)k + 1) << k;
    }
}

} // namespace

TEST(BandsRoundTrip, WritesTheStepsBytes) {
    std::string text;
    appendBandsBlock(text, print("bAB001C02", "17", {0, 101, 4599}));
    appendBandsBlock(text, print("bEmpty", "17", {}));
    appendBandsBlock(text, print("bNoGel", "", {5, 5}));
    EXPECT_EQ(text, "         bAB001C02 3 17\n0\n101\n4599\n-1\n"
                    "         bEmpty 0 17\n-1\n"
                    "         bNoGel 2 \n5\n5\n-1\n");
}

TEST(BandsRoundTrip, WhatIsWrittenReadsBackTheSame) {
    const std::vector<Fingerprint> prints = {
        print("bA", "17", {0, 1, 2300, 4599}),
        print("bEmpty", "17", {}),
        // Past the scale's end, as the step extrapolates, up to the largest.
        print("bPast", "17", {4599, 4600, 4601, 9999, 1000000, INT_MAX}),
        print("bDoublet", "3", {120, 120, 121}),
        print("bNoGel", "", {}),
        print("bLast", "12345", {4598, 4599}),
    };
    std::string text = textOf(prints);

    std::istringstream in(text);
    std::vector<Fingerprint> got;
    std::string error;
    ASSERT_TRUE(readBands(in, "mem.bands", got, error)) << error;
    expectSame(got, prints);

    zetest::TempDir t;
    zetest::writeFile(t / "17.bands", text);
    got.clear();
    ASSERT_TRUE(readBandsFile(t / "17.bands", got, error)) << error;
    expectSame(got, prints);
    // Written again, the fingerprints read back give the same bytes.
    EXPECT_EQ(textOf(got), text);
}

TEST(BandsRoundTrip, AnEmptyListIsAnEmptyFile) {
    EXPECT_EQ(textOf({}), "");
    std::istringstream in("");
    std::vector<Fingerprint> got;
    std::string error;
    EXPECT_TRUE(readBands(in, "empty.bands", got, error));
    EXPECT_TRUE(got.empty());
}
