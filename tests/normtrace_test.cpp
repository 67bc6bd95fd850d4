#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "facSupport.h"
#include "zeNormTrace.h"

namespace {

const int N = NORM_SCALE_LENGTH;

NormFac linearFac(std::initializer_list<std::pair<float, float>> normGel) {
    return facFromPairs(normGel, false);
}

// Output buffers start with a value the resampling never writes, so an
// element it forgets shows up.
std::vector<float> freshOut() {
    return std::vector<float>(N, 0.25f);
}

// Gel 0..64 maps to standard 10 g exactly (g / 64 and * 640 are exact). A
// trace that rises by one per gel position is a line over standard
// position, so every p between knots gets p / 10 after truncation.
TEST(NormTrace, LineOfKnotsEightBit) {
    NormFac fac = linearFac({{0, 0}, {640, 64}});
    std::vector<unsigned char> trace(65);
    for (int g = 0; g <= 64; g++)
        trace[g] = (unsigned char)g;
    std::vector<float> out = freshOut();
    normTrace(trace.data(), out.data(), 65, fac);
    for (int p = 0; p <= 640; p++)
        ASSERT_EQ(out[p], p / 10) << p;
    // The last value is extended to the end of the scale.
    for (int p = 641; p < N; p++)
        ASSERT_EQ(out[p], 64) << p;
}

// Standard 10 g + 100; samples are signed and fall below zero, and
// truncation goes toward zero: -(k + r / 10) becomes -k.
TEST(NormTrace, SixteenBitSignedSamplesAndZeroOutside) {
    NormFac fac = linearFac({{100, 0}, {740, 64}});
    std::vector<short> trace(65);
    for (int g = 0; g <= 64; g++)
        trace[g] = (short)-g;
    std::vector<float> out = freshOut();
    normTrace(trace.data(), out.data(), 65, fac);
    for (int p = 0; p < 100; p++)
        ASSERT_EQ(out[p], 0) << p;
    for (int p = 100; p <= 740; p++)
        ASSERT_EQ(out[p], -((p - 100) / 10)) << p;
    for (int p = 741; p < N; p++)
        ASSERT_EQ(out[p], 0) << p;

    std::vector<short> big(65, 30000);
    big[0] = -300;
    normTrace(big.data(), out.data(), 65, fac);
    EXPECT_EQ(out[100], -300);
    EXPECT_EQ(out[740], 30000);
}

// Standard 740 - 10 g: positions fall as g rises and are put in order
// before the spline; the output is still indexed by standard position.
TEST(NormTrace, FallingLaneIsReversed) {
    NormFac fac = linearFac({{740, 0}, {100, 64}});
    std::vector<unsigned char> trace(65);
    for (int g = 0; g <= 64; g++)
        trace[g] = (unsigned char)g;
    std::vector<float> out = freshOut();
    normTrace(trace.data(), out.data(), 65, fac);
    for (int p = 0; p < 100; p++)
        ASSERT_EQ(out[p], 64) << p;
    for (int p = 100; p <= 740; p++)
        ASSERT_EQ(out[p], (740 - p) / 10) << p;
    for (int p = 741; p < N; p++)
        ASSERT_EQ(out[p], 0) << p;

    // A curved trace read backwards on the falling lane gives the same
    // points as on the rising lane 100 + 10 g, hence the same output.
    NormFac rising = linearFac({{100, 0}, {740, 64}});
    std::vector<unsigned char> curved(65), mirrored(65);
    for (int g = 0; g <= 64; g++) {
        curved[g] = (unsigned char)((g * g * 7) % 251);
        mirrored[64 - g] = curved[g];
    }
    std::vector<float> want = freshOut();
    normTrace(curved.data(), want.data(), 65, rising);
    normTrace(mirrored.data(), out.data(), 65, fac);
    for (int p = 0; p < N; p++)
        ASSERT_EQ(out[p], want[p]) << p;
}

// Standard 71.875 g: g = 0 maps to 0 and is kept, g = 64 maps to exactly
// 4600 and is dropped, so the last position is 4528.125. The trace
// 7 + 2 g gives 7 + 16 p / 575, whole only at knots.
TEST(NormTrace, EndsOfTheStandardScale) {
    NormFac fac = linearFac({{0, 0}, {4600, 64}});
    ASSERT_EQ(fac.normaliseBand(64), 4600);
    std::vector<unsigned char> trace(65);
    for (int g = 0; g <= 64; g++)
        trace[g] = (unsigned char)(7 + 2 * g);
    trace[64] = 255;
    std::vector<float> out = freshOut();
    normTrace(trace.data(), out.data(), 65, fac);
    for (int p = 0; p <= 4528; p++)
        ASSERT_EQ(out[p], 7 + 16 * p / 575) << p;
    for (int p = 4529; p < N; p++)
        ASSERT_EQ(out[p], out[4528]) << p;
}

// Gel 16..32 all map to standard 128: only gel 16 is recorded, so the
// later samples (200) never reach the spline.
TEST(NormTrace, RepeatedStandardPositionKeepsTheFirst) {
    NormFac fac = linearFac({{0, 0}, {128, 16}, {128, 32}});
    std::vector<unsigned char> trace(33, 200);
    for (int g = 0; g <= 16; g++)
        trace[g] = (unsigned char)g;
    std::vector<float> out = freshOut();
    normTrace(trace.data(), out.data(), 33, fac);
    for (int p = 0; p <= 128; p++)
        ASSERT_EQ(out[p], p / 8) << p;
    for (int p = 129; p < N; p++)
        ASSERT_EQ(out[p], 16) << p;
}

// Positions 12.7 .. about 4301.2: evaluated from 12 to 4301; the 8-bit
// variant extends the edge values, the 16-bit one writes zeros.
TEST(NormTrace, FillingOutsideTheCoveredPositions) {
    NormFac fac = linearFac({{12.7f, 0}, {4301.2f, 100}});
    std::vector<unsigned char> bytes(101);
    std::vector<short> shorts(101);
    for (int g = 0; g <= 100; g++)
        bytes[g] = (unsigned char)(40 + (g * 37) % 100), shorts[g] = bytes[g];
    std::vector<float> out8 = freshOut(), out16 = freshOut();
    normTrace(bytes.data(), out8.data(), 101, fac);
    normTrace(shorts.data(), out16.data(), 101, fac);
    for (int p = 12; p <= 4301; p++) {
        ASSERT_EQ(out8[p], out16[p]) << p;
        ASSERT_EQ(out8[p], (float)(int)out8[p]) << p;
    }
    EXPECT_NE(out8[12], 0);
    EXPECT_NE(out8[4301], 0);
    for (int p = 0; p < 12; p++) {
        ASSERT_EQ(out8[p], out8[12]) << p;
        ASSERT_EQ(out16[p], 0) << p;
    }
    for (int p = 4302; p < N; p++) {
        ASSERT_EQ(out8[p], out8[4301]) << p;
        ASSERT_EQ(out16[p], 0) << p;
    }
}

// No clamping: a lone peak makes the natural spline dip below zero next
// to it, and those values are kept.
TEST(NormTrace, OvershootIsKept) {
    NormFac fac = linearFac({{0, 0}, {640, 64}});
    std::vector<unsigned char> trace(65, 0);
    trace[32] = 255;
    std::vector<float> out = freshOut();
    normTrace(trace.data(), out.data(), 65, fac);
    EXPECT_EQ(out[320], 255);
    float lowest = 0;
    for (int p = 0; p <= 640; p++)
        lowest = out[p] < lowest ? out[p] : lowest;
    EXPECT_LT(lowest, 0);
}

TEST(NormTrace, NothingRecordedGivesZeros) {
    NormFac beyond = linearFac({{5000, 0}, {6000, 10}});
    NormFac empty;
    std::vector<unsigned char> bytes(11, 9);
    std::vector<short> shorts(11, 9);
    for (NormFac* fac : {&beyond, &empty}) {
        std::vector<float> out8 = freshOut(), out16 = freshOut();
        normTrace(bytes.data(), out8.data(), 11, *fac);
        normTrace(shorts.data(), out16.data(), 11, *fac);
        for (int p = 0; p < N; p++) {
            ASSERT_EQ(out8[p], 0) << p;
            ASSERT_EQ(out16[p], 0) << p;
        }
    }
}

// Only gel 0 maps inside the scale (to 4599.5).
TEST(NormTrace, OneRecordedPoint) {
    NormFac fac = linearFac({{4599.5f, 0}, {5599.5f, 10}});
    std::vector<unsigned char> bytes(11, 3);
    bytes[0] = 77;
    std::vector<short> shorts(11, 3);
    shorts[0] = -5;
    std::vector<float> out8 = freshOut(), out16 = freshOut();
    normTrace(bytes.data(), out8.data(), 11, fac);
    normTrace(shorts.data(), out16.data(), 11, fac);
    for (int p = 0; p < N; p++)
        ASSERT_EQ(out8[p], 77) << p;
    for (int p = 0; p < N - 1; p++)
        ASSERT_EQ(out16[p], 0) << p;
    EXPECT_EQ(out16[N - 1], -5);
}

// A calibrated range reaching past either end of the trace: positions
// outside the trace are skipped (the sanitizer build sees any read there).
TEST(NormTrace, CalibratedRangeBeyondTheTrace) {
    NormFac below = linearFac({{0, -10}, {640, 54}});
    ASSERT_EQ(below.gelLow, -10);
    std::vector<unsigned char> trace(55);
    for (int g = 0; g <= 54; g++)
        trace[g] = (unsigned char)(g + 1);
    std::vector<float> out = freshOut();
    normTrace(trace.data(), out.data(), 55, below);
    for (int p = 0; p < 100; p++)
        ASSERT_EQ(out[p], 1) << p;
    for (int p = 100; p <= 640; p++)
        ASSERT_EQ(out[p], (p - 100) / 10 + 1) << p;

    NormFac above = linearFac({{0, 0}, {640, 64}});
    std::vector<short> shorts(33);
    for (int g = 0; g <= 32; g++)
        shorts[g] = (short)g;
    normTrace(shorts.data(), out.data(), 33, above);
    for (int p = 0; p <= 320; p++)
        ASSERT_EQ(out[p], p / 10) << p;
    for (int p = 321; p < N; p++)
        ASSERT_EQ(out[p], 0) << p;

    std::vector<unsigned char> none(1, 5);
    NormFac far = linearFac({{0, 100}, {640, 164}});
    normTrace(none.data(), out.data(), 1, far);
    for (int p = 0; p < N; p++)
        ASSERT_EQ(out[p], 0) << p;
}

} // namespace
