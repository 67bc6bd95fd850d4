#include <gtest/gtest.h>

#include <vector>

#include "zeAccum.h"
#include "zeArray.h"
#include "zeNormFac.h"

namespace {

TEST(DpArray, InclusiveBoundsAndStorageOrder) {
    dp_Array<float> a(1, 5);
    EXPECT_EQ(a.nelem(), 5);
    a(1) = 1;
    a[5] = 5;
    EXPECT_EQ(a.getData()[0], 1);
    EXPECT_EQ(a.getData()[4], 5);

    dp_Array<int> b(-3, 3);
    EXPECT_EQ(b.nelem(), 7);
    b(-3) = 42;
    EXPECT_EQ(b.getData()[0], 42);

    dp_Array<float> empty(0, -1);
    EXPECT_EQ(empty.nelem(), 0);
}

TEST(DpArray, AssignmentCopiesDeeplyAndResizeStartsFresh) {
    dp_Array<float> src(0, 9);
    for (int i = 0; i <= 9; i++) src(i) = (float)i;
    dp_Array<float> dst(1, 3);
    dst = src;
    EXPECT_EQ(dst.nelem(), 10);
    src(4) = 99;
    EXPECT_EQ(dst(4), 4);
    dst = dst;
    EXPECT_EQ(dst(9), 9);
    dp_Array<float> copy(dst);
    EXPECT_EQ(copy(7), 7);
    copy.resize(2, 4);
    EXPECT_EQ(copy.nelem(), 3);
}

TEST(DpArray2, RowByRowStorage) {
    dp_Array2<int> a(0, 2, 0, 3);
    EXPECT_EQ(a.nelem1() * a.nelem2(), 12);
    for (int i = 0; i <= 2; i++)
        for (int j = 0; j <= 3; j++) a(i, j) = i * 10 + j;
    EXPECT_EQ(a(1, 0), 10);
    EXPECT_EQ(&a(1, 0) - &a(0, 0), 4);  // the fifth element in storage
}

TEST(DpAccum, GrowsByTheFactorBelowOnePointTwo) {
    dp_Accum<int> acc;
    EXPECT_EQ(acc.nelem(), 0);
    std::vector<int> capacities{acc.getCapacity()};
    for (int i = 0; i < 261; i++) {
        acc.append(i);
        if (acc.getCapacity() != capacities.back()) capacities.push_back(acc.getCapacity());
    }
    const std::vector<int> expected{10, 11, 13, 15, 17, 20, 23, 27, 32, 38, 45,
                                    53, 63, 75, 89, 106, 127, 152, 182, 218, 261};
    EXPECT_EQ(capacities, expected);
    for (int i = 0; i < 1000; i++) acc.append(261 + i);
    for (int i = 0; i < 1261; i++) ASSERT_EQ(acc(i), i);
}

int compareInts(int* a, int* b) { return *a < *b ? -1 : *a > *b ? 1 : 0; }

TEST(DpAccum, SortAndIndependentCopies) {
    dp_Accum<int> acc;
    acc.sort(compareInts);
    acc.append(3);
    acc.sort(compareInts);
    EXPECT_EQ(acc(0), 3);
    acc.append(1);
    acc.append(2);
    acc.sort(compareInts);
    EXPECT_EQ(acc(0), 1);
    EXPECT_EQ(acc(2), 3);

    dp_Accum<Coords> a;
    a.append(Coords{1, 2});
    dp_Accum<Coords> b;
    b = a;
    b.append(Coords{3, 4});
    EXPECT_EQ(a.nelem(), 1);
    EXPECT_EQ(b.nelem(), 2);
}

// Index errors are programming errors: the standard assertion report with
// the failing expression, then abort.
TEST(ContainerChecksDeathTest, OutOfRangeAborts) {
    dp_Array<float> a(1, 5);
    EXPECT_DEATH(a(0), "zeArray.*pos>=lower && pos<=upper");
    EXPECT_DEATH(a(6), "pos>=lower && pos<=upper");
    dp_Array<float> empty(0, -1);
    EXPECT_DEATH(empty[0], "pos>=lower && pos<=upper");

    dp_Array2<int> b(0, 2, 0, 3);
    EXPECT_DEATH(b(3, 0), "which1>=lower1 && which1<=upper1");
    EXPECT_DEATH(b(0, 4), "which2>=lower2 && which2<=upper2");
    EXPECT_DEATH(b(3, 4), "which1>=lower1 && which1<=upper1");

    dp_Accum<int> acc;
    EXPECT_DEATH(acc(0), "zeAccum.*pos<used");
    acc.append(1);
    EXPECT_DEATH(acc(-1), "zeAccum");
}

}  // namespace
