#include <gtest/gtest.h>

#include <math.h>

#include <initializer_list>
#include <sstream>
#include <utility>

#include "facSupport.h"
#include "zeNormFac.h"

namespace {

NormFac makeFac(std::initializer_list<std::pair<float, float>> normGel, bool nonlinear) {
    return facFromPairs(normGel, nonlinear);
}

// Pairs (norm, gel) = (0,100), (1000,200), (2000,400): range 100..400, so
// the accepted gel positions run from 98.5 to 401.5.
TEST(NormFac, LinearWorkedExample) {
    NormFac f = makeFac({{0, 100}, {1000, 200}, {2000, 400}}, false);
    EXPECT_EQ(f.gelLow, 100);
    EXPECT_EQ(f.gelHigh, 400);
    EXPECT_EQ(f.normLength, 4600);
    EXPECT_EQ(f.normaliseBand(300), 1500);
    EXPECT_EQ(f.normaliseBand(400), 2000);
    EXPECT_EQ(f.normaliseBand(200), 1000);
    EXPECT_EQ(f.normaliseBand(100), 0);
    EXPECT_EQ(f.normaliseBand(401), 2005);
    EXPECT_NEAR(f.normaliseBand(401.5f), 2007.5f, 1e-3);
    EXPECT_EQ(f.normaliseBand(402), NO_POSITION);
    EXPECT_EQ(f.normaliseBand(98.5f), -15);
    EXPECT_EQ(f.normaliseBand(98), NO_POSITION);
    EXPECT_EQ(f.normToGel(1500), 300);
    EXPECT_EQ(f.normToGel(-100), 90);
    EXPECT_EQ(f.normToGel(3000), 600);
}

// gelHigh + margin is the double 3.015; the float 3.015f lies just above it
// and is rejected, while in float arithmetic it would equal the limit.
TEST(NormFac, MarginIsComparedInDouble) {
    NormFac f = makeFac({{0, 0}, {1000, 3}}, false);
    EXPECT_GT((double)3.015f, 3.015);
    EXPECT_EQ(f.normaliseBand(3.015f), NO_POSITION);
    EXPECT_NE(f.normaliseBand(nextafterf(3.015f, 0)), NO_POSITION);
    EXPECT_NE(f.normaliseBand(-0.015f), NO_POSITION);
    EXPECT_EQ(f.normaliseBand(nextafterf(-0.015f, -1)), NO_POSITION);
}

TEST(NormFac, RangeFromTheEndPairsTruncated) {
    NormFac f = makeFac({{0, 101.7f}, {500, 50}, {1000, 399.9f}}, false);
    EXPECT_EQ(f.gelLow, 101);
    EXPECT_EQ(f.gelHigh, 399);
    NormFac r = makeFac({{0, 399.9f}, {1000, 101.7f}}, true);
    EXPECT_EQ(r.gelLow, 101);
    EXPECT_EQ(r.gelHigh, 399);
    NormFac neg = makeFac({{0, -3.9f}, {1000, 10}}, false);
    EXPECT_EQ(neg.gelLow, -3);
}

TEST(NormFac, EqualBracketingPairsGiveTheLowerPairsOtherValue) {
    // Gel 16 twice: positions from 16 on fall in that zero-width bracket.
    NormFac f = makeFac({{0, 0}, {50, 16}, {128, 16}}, false);
    EXPECT_EQ(f.normaliseBand(16), 50);
    EXPECT_EQ(f.normaliseBand(16.05f), 50);
    EXPECT_EQ(f.normaliseBand(8), 25);
    // Norm 100 twice, likewise for the way back.
    NormFac g = makeFac({{0, 0}, {100, 50}, {100, 70}}, false);
    EXPECT_EQ(g.normToGel(100), 50);
    EXPECT_EQ(g.normToGel(150), 50);
    EXPECT_EQ(g.normToGel(50), 25);
}

TEST(NormFac, SplineReversesFallingGelButKeepsThePairs) {
    NormFac f = makeFac({{3000, 900}, {2000, 500}, {100, 150}}, true);
    EXPECT_EQ(f.pairs[0].gel, 900);
    EXPECT_EQ(f.pairs[2].gel, 150);
    ASSERT_EQ(f.fwdGel.nelem(), 3);
    EXPECT_EQ(f.fwdGel[0], 150);
    EXPECT_EQ(f.fwdNorm[0], 100);
    EXPECT_EQ(f.fwdGel[2], 900);
    EXPECT_EQ(f.fwdNorm[2], 3000);
    EXPECT_EQ(f.invNorm[0], 100);
    EXPECT_EQ(f.invGel[0], 150);
    EXPECT_EQ(f.gelLow, 150);
    EXPECT_EQ(f.gelHigh, 900);
    // Knots map exactly both ways.
    EXPECT_EQ(f.normaliseBand(500), 2000);
    EXPECT_EQ(f.normaliseBand(150), 100);
    EXPECT_EQ(f.normaliseBand(900), 3000);
    EXPECT_EQ(f.normToGel(2000), 500);
}

TEST(NormFac, SplineOnALineIsTheLine) {
    NormFac f = makeFac({{0, 100}, {1000, 200}, {3000, 400}, {4000, 500}}, true);
    EXPECT_NEAR(f.normaliseBand(150), 500, 1e-3);
    EXPECT_NEAR(f.normaliseBand(350), 2500, 1e-3);
    EXPECT_NEAR(f.normToGel(2500), 350, 1e-3);
    // Inside the margin the end cubic (here a line) is extended.
    EXPECT_NEAR(f.normaliseBand(501), 4010, 1e-2);
    EXPECT_EQ(f.normaliseBand(503), NO_POSITION);
}

// A size factor: ln(size) falls as gel rises; each marker's own gel
// position gives back its log size.
TEST(NormFac, SizeFactorReturnsTheMarkersLogSize) {
    float l1 = (float)log(1500.0), l2 = (float)log(700.0), l3 = (float)log(200.0);
    NormFac f = makeFac({{l1, 152}, {l2, 600}, {l3, 1220}}, true);
    EXPECT_EQ(f.normaliseBand(152), l1);
    EXPECT_EQ(f.normaliseBand(600), l2);
    EXPECT_EQ(f.normaliseBand(1220), l3);
    EXPECT_EQ(f.invNorm[0], l3);
    EXPECT_EQ(f.normToGel(l2), 600);
}

TEST(NormFac, GelXAndDump) {
    NormFac f = makeFac({{0, 100}, {1000, 200}, {2000, 400}}, false);
    dp_Array<float> x = f.getGelX();
    ASSERT_EQ(x.nelem(), 3);
    EXPECT_EQ(x[0], 100);
    EXPECT_EQ(x[1], 200);
    EXPECT_EQ(x[2], 400);

    NormFac one = makeFac({{1000, 200}}, false);
    std::ostringstream os;
    one.dumpPairs(os);
    EXPECT_EQ(os.str(), "1000 200\n");
    std::ostringstream os2;
    makeFac({{12.5f, 0.25f}, {1e7f, -3}}, true).dumpPairs(os2);
    EXPECT_EQ(os2.str(), "12.5 0.25\n1e+07 -3\n");
}

TEST(NormFac, WithoutPairsItMapsNothing) {
    for (bool nonlinear : {false, true}) {
        NormFac f = makeFac({}, nonlinear);
        EXPECT_EQ(f.gelLow, 0);
        EXPECT_EQ(f.gelHigh, 0);
        EXPECT_EQ(f.normaliseBand(0), NO_POSITION);
        EXPECT_EQ(f.normToGel(100), 0);
        EXPECT_EQ(f.getGelX().nelem(), 0);
    }
    NormFac fresh;
    EXPECT_EQ(fresh.normaliseBand(0), NO_POSITION);
    EXPECT_EQ(fresh.normToGel(0), 0);
}

TEST(NormFac, SinglePairMapsOnlyItsOwnPosition) {
    for (bool nonlinear : {false, true}) {
        NormFac f = makeFac({{1234, 56.5f}}, nonlinear);
        EXPECT_EQ(f.gelLow, 56);
        EXPECT_EQ(f.gelHigh, 56);
        EXPECT_EQ(f.normaliseBand(56), 1234);
        EXPECT_EQ(f.normaliseBand(57), NO_POSITION);
        EXPECT_EQ(f.normToGel(0), 56.5f);
    }
}

TEST(NormFac, CopiesAreIndependent) {
    NormFac* src = new NormFac(makeFac({{0, 100}, {1000, 300}, {2000, 400}}, true));
    float expected = src->normaliseBand(250);
    NormFac copy(*src);
    NormFac assigned;
    assigned = *src;
    delete src;
    EXPECT_EQ(copy.normaliseBand(250), expected);
    EXPECT_EQ(assigned.normaliseBand(250), expected);
    EXPECT_TRUE(assigned.nonlinear);
    EXPECT_EQ(assigned.gelHigh, 400);
    NormFac& same = assigned;
    assigned = same;
    EXPECT_EQ(assigned.pairs.nelem(), 3);

    dp_Array<NormFac> lanes(0, 2);
    lanes[1] = copy;
    EXPECT_EQ(lanes[1].normaliseBand(250), expected);
    EXPECT_EQ(lanes[0].normaliseBand(250), NO_POSITION);
}

TEST(Swap, ExchangesFloatsAndInts) {
    float a = 1.5f, b = -2;
    swap(a, b);
    EXPECT_EQ(a, -2);
    EXPECT_EQ(b, 1.5f);
    int i = 3, j = 4;
    swap(i, j);
    EXPECT_EQ(i, 4);
    EXPECT_EQ(j, 3);
}

} // namespace
