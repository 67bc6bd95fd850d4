// Loading the raw-bands file into one accumulator per sample.
#include <gtest/gtest.h>

#include "testSupport.h"
#include "zeRBLoad.h"

using namespace zetest;

namespace {

struct Loaded {
    bool ok;
    dp_Array<dp_Accum<RawBand>> bands;
};

// Loads text as a raw-bands file for the given number of samples.
void load(const std::string& text, int samples, Loaded& out) {
    TempDir dir;
    writeFile(dir / "raw-bands", text);
    out.bands.resize(0, samples - 1);
    out.ok = loadRawBands((dir / "raw-bands").c_str(), out.bands);
}

int total(const Loaded& l) {
    int n = 0;
    for (int s = 0; s < l.bands.nelem(); s++)
        n += l.bands(s).nelem();
    return n;
}

} // namespace

TEST(RawBandsHeader, HeaderLineAloneGivesEmptySamples) {
    Loaded l;
    load("BANDS written by the band caller\n", 3, l);
    EXPECT_TRUE(l.ok);
    EXPECT_EQ(total(l), 0);
}

TEST(RawBandsHeader, RejectedHeaders) {
    Loaded l;
    load("BANDS", 2, l); // no line end
    EXPECT_FALSE(l.ok);
    load("BANDS\n", 2, l); // the rest of the header is sought on a missing line
    EXPECT_FALSE(l.ok);
    load("bands x\n0 1 2 3 1\n", 2, l); // case matters
    EXPECT_FALSE(l.ok);
    load("", 2, l);
    EXPECT_FALSE(l.ok);

    dp_Array<dp_Accum<RawBand>> bands(0, 1);
    EXPECT_FALSE(loadRawBands("/nonexistent/raw-bands", bands));
}

TEST(RawBandsHeader, WordAloneMakesTheFirstRecordTheRestOfTheHeader) {
    Loaded l;
    load("BANDS\n0 10 2 3 1\n1 20 2 3 1\n", 2, l);
    EXPECT_TRUE(l.ok);
    EXPECT_EQ(l.bands(0).nelem(), 0);
    ASSERT_EQ(l.bands(1).nelem(), 1);
    EXPECT_FLOAT_EQ(l.bands(1)(0).position, 20);
}

TEST(RawBandsRecords, InterleavedRecordsKeepFileOrderPerSample) {
    Loaded l;
    load("BANDS x\n1 5.5 1.25 -2 1\n0 7 0 0 2\n1 3.25 4 5 3\n"
         "0 1e2 0 0 1\n",
         2, l);
    ASSERT_TRUE(l.ok);
    ASSERT_EQ(l.bands(0).nelem(), 2);
    ASSERT_EQ(l.bands(1).nelem(), 2);
    const RawBand& a = l.bands(1)(0);
    EXPECT_EQ(a.lane, 1);
    EXPECT_EQ(a.position, 5.5f);
    EXPECT_EQ(a.value1, 1.25f);
    EXPECT_EQ(a.value2, -2.0f);
    EXPECT_EQ(a.kind, 1);
    EXPECT_EQ(l.bands(1)(1).position, 3.25f);
    EXPECT_EQ(l.bands(1)(1).kind, 3);
    EXPECT_EQ(l.bands(0)(0).position, 7.0f);
    EXPECT_EQ(l.bands(0)(0).kind, 2);
    EXPECT_EQ(l.bands(0)(1).position, 100.0f);
}

TEST(RawBandsRecords, RecordsNeedNotStandOneToALine) {
    Loaded l;
    load("BANDS x\n0 1 2 3 1 0 4\n5 6 1\n\n\t0\n7 8 9 1", 1, l);
    ASSERT_TRUE(l.ok);
    ASSERT_EQ(l.bands(0).nelem(), 3);
    EXPECT_EQ(l.bands(0)(1).position, 4.0f);
    EXPECT_EQ(l.bands(0)(1).kind, 1);
    EXPECT_EQ(l.bands(0)(2).value2, 9.0f);
}

TEST(RawBandsRecords, PartialTrailingRecordIsDropped) {
    Loaded l;
    load("BANDS x\n0 1 2 3 1\n0 4 5\n", 1, l);
    EXPECT_TRUE(l.ok);
    EXPECT_EQ(l.bands(0).nelem(), 1);
}

TEST(RawBandsRecords, NonNumberEndsReadingButKeepsEarlierRecords) {
    Loaded l;
    load("BANDS x\n0 1 2 3 1\n0 abc 2 3 1\n0 4 2 3 1\n", 1, l);
    EXPECT_TRUE(l.ok);
    EXPECT_EQ(l.bands(0).nelem(), 1);
}

TEST(RawBandsRecords, SampleIndexOutsideTheGelIsSkipped) {
    Loaded l;
    load("BANDS x\n0 1 0 0 1\n2 9 0 0 1\n-1 9 0 0 1\n99999999 9 0 0 1\n1 2 0 0 1\n0 3 0 0 1\n", 2,
         l);
    ASSERT_TRUE(l.ok);
    ASSERT_EQ(l.bands(0).nelem(), 2);
    ASSERT_EQ(l.bands(1).nelem(), 1);
    EXPECT_EQ(l.bands(0)(1).position, 3.0f);
    EXPECT_EQ(l.bands(1)(0).position, 2.0f);
}

TEST(RawBandsRecords, AccumulatorsAreNotClearedFirst) {
    TempDir dir;
    writeFile(dir / "raw-bands", "BANDS x\n0 2 0 0 1\n");
    dp_Array<dp_Accum<RawBand>> bands(0, 0);
    bands(0).append(RawBand{0, 1, 0, 0, 1});
    ASSERT_TRUE(loadRawBands((dir / "raw-bands").c_str(), bands));
    ASSERT_EQ(bands(0).nelem(), 2);
    EXPECT_EQ(bands(0)(1).position, 2.0f);
}

TEST(RawBandsRecords, ManyRecordsOfOneSample) {
    std::string text = "BANDS x\n";
    for (int i = 0; i < 1000; i++)
        text += "0 " + std::to_string(i) + " 0 0 1\n";
    Loaded l;
    load(text, 1, l);
    ASSERT_EQ(l.bands(0).nelem(), 1000);
    for (int i = 0; i < 1000; i++)
        ASSERT_EQ(l.bands(0)(i).position, (float)i);
}
