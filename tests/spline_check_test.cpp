// splintRefusedInterval against splint's own bisection: the bisection only
// changes its interval where an abscissa passes a knot, so every knot, its
// neighbouring floats, the infinities and NaN between them meet every
// interval the bisection can end on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "zeSplineCheck.h"
#include "zeSplineTerms.h"

namespace {

// An interval of zero width that some abscissa's bisection ends on, found
// by trying every abscissa that matters; -1 when none.
int refusedByTrying(const std::vector<float>& xa) {
    int n = (int)xa.size();
    if (n < 2) return -1;
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<float> xs = {-inf, inf, std::nanf("")};
    for (float k : xa) {
        xs.push_back(k);
        xs.push_back(std::nextafter(k, -inf));
        xs.push_back(std::nextafter(k, inf));
    }
    for (float x : xs) {
        int klo = splintBracket(xa.data(), n, x);
        if (splineGap(xa[klo], xa[klo + 1]) == 0) return klo;
    }
    return -1;
}

bool refused(const std::vector<float>& xa) {
    return splintRefusedInterval(xa.data(), (int)xa.size()) >= 0;
}

} // namespace

TEST(SplineCheck, HandWorkedKnots) {
    EXPECT_FALSE(refused({}));
    EXPECT_FALSE(refused({5}));
    EXPECT_EQ(splintRefusedInterval(std::vector<float>{1, 1}.data(), 2), 0);
    EXPECT_EQ(splintRefusedInterval(std::vector<float>{0, 0, 1}.data(), 3), 0);
    EXPECT_EQ(splintRefusedInterval(std::vector<float>{0, 1, 2, 2}.data(), 4), 2);
    // Inside ascending knots no abscissa ends between equal ones.
    EXPECT_FALSE(refused({0, 1, 1, 2}));
    EXPECT_FALSE(refused({0, 1, 1, 1, 1, 2}));
    // +0 and -0 are equal knots; two infinities leave no zero width (NaN).
    EXPECT_TRUE(refused({-0.0f, 0.0f, 1}));
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_FALSE(refused({0, inf, inf}));
    // Unordered knots: the bisection decides.
    EXPECT_TRUE(refused({0, 3, 3, 1, 10}) == (refusedByTrying({0, 3, 3, 1, 10}) >= 0));
}

TEST(SplineCheck, AgreesWithTheBisectionOnRandomKnots) {
    std::mt19937 rng(20240612);
    std::uniform_int_distribution<int> length(0, 12), value(0, 5), kind(0, 9);
    const float inf = std::numeric_limits<float>::infinity();
    int refusals = 0;
    for (int round = 0; round < 20000; round++) {
        std::vector<float> xa(length(rng));
        for (float& x : xa) {
            int k = kind(rng);
            x = k == 0 ? std::nanf("") : k == 1 ? inf : k == 2 ? -inf : (float)value(rng);
        }
        // Half of them ascending (and so without NaN), as a calibration usually is.
        if (round % 2) {
            for (float& x : xa)
                if (std::isnan(x)) x = (float)value(rng);
            std::sort(xa.begin(), xa.end());
        }
        int expected = refusedByTrying(xa);
        int got = splintRefusedInterval(xa.data(), (int)xa.size());
        ASSERT_EQ(got >= 0, expected >= 0) << "round " << round;
        if (got >= 0) {
            // What it names is an interval of zero width some abscissa reaches.
            EXPECT_EQ(splineGap(xa[got], xa[got + 1]), 0.0f);
            refusals++;
        }
    }
    EXPECT_GT(refusals, 1000);
}
