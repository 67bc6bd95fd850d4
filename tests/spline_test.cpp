#include <gtest/gtest.h>

#include <math.h>

#include <random>
#include <vector>

#include "zeSpline.h"

#ifdef ZE_HAVE_GSL
#include <gsl/gsl_errno.h>
#include <gsl/gsl_spline.h>
#endif

namespace {

const float NATURAL = 1e30f;

TEST(Spline, TwoPointsInterpolateLinearly) {
    float x[] = {0, 10}, y[] = {0, 5}, y2[] = {7, 7};
    spline(x, y, 2, NATURAL, NATURAL, y2);
    EXPECT_EQ(y2[0], 0);
    EXPECT_EQ(y2[1], 0);
    float v;
    splint(x, y, y2, 2, 4, &v);
    EXPECT_EQ(v, 2);
    splint(x, y, y2, 2, 10, &v);
    EXPECT_EQ(v, 5);
    // Beyond the ends the straight line goes on.
    splint(x, y, y2, 2, -4, &v);
    EXPECT_EQ(v, -2);
}

TEST(Spline, PointsOnALineGiveTheLine) {
    float x[] = {1, 2, 4, 8, 9}, y[5], y2[5];
    for (int i = 0; i < 5; i++)
        y[i] = 3 * x[i] - 1;
    spline(x, y, 5, NATURAL, NATURAL, y2);
    for (float d : y2)
        EXPECT_NEAR(d, 0, 1e-5);
    for (float at : {1.5f, 3.0f, 6.25f, 8.5f}) {
        float v;
        splint(x, y, y2, 5, at, &v);
        EXPECT_NEAR(v, 3 * at - 1, 1e-4) << at;
    }
}

TEST(Spline, KnotsAreReproducedExactly) {
    float x[] = {0, 1.5f, 2, 7, 7.25f, 11}, y[] = {3, -2, 9.5f, 4, 4.125f, 100}, y2[6];
    spline(x, y, 6, NATURAL, NATURAL, y2);
    for (int k = 0; k < 6; k++) {
        float v;
        splint(x, y, y2, 6, x[k], &v);
        EXPECT_EQ(v, y[k]) << k;
    }
}

// (0,0), (1,1), (2,0): natural ends, so 2/3 M1 = -2 and M1 = -3. Outside
// [0, 2] the end cubics are extended: at x = 3, a = -1 and b = 2 on
// [1, 2] give -1; at 2.5, a = -0.5, b = 1.5 give -0.5 - 0.375 * 3 / 6.
TEST(Spline, ThreePointArchAndItsExtrapolation) {
    float x[] = {0, 1, 2}, y[] = {0, 1, 0}, y2[3];
    spline(x, y, 3, NATURAL, NATURAL, y2);
    EXPECT_EQ(y2[0], 0);
    EXPECT_EQ(y2[1], -3);
    EXPECT_EQ(y2[2], 0);

    float v, dy, d2y;
    splint(x, y, y2, 3, 3, &v);
    EXPECT_EQ(v, -1);
    splint(x, y, y2, 3, -1, &v);
    EXPECT_EQ(v, -1);
    splint(x, y, y2, 3, 2.5f, &v);
    EXPECT_EQ(v, -0.6875f);
    splint(x, y, y2, 3, -0.5f, &v);
    EXPECT_EQ(v, -0.6875f);

    // Long form at 1.5: dy = -1 - (3/4 - 1)/6 * (-3) = -1.125; d2y = -1.5.
    splint(x, y, y2, 3, 1.5f, &v, &dy, &d2y);
    EXPECT_EQ(d2y, -1.5f);
    EXPECT_EQ(dy, -1.125f);
    EXPECT_EQ(v, 0.6875f);
}

// A clamped spline through a parabola with its true end slopes is the
// parabola itself: every second derivative is 2.
TEST(Spline, EndSlopesBelowTheNaturalLimitAreUsed) {
    float x[] = {0, 1, 2}, y[] = {0, 1, 4}, y2[3];
    spline(x, y, 3, 0, 4, y2);
    for (float d : y2)
        EXPECT_NEAR(d, 2, 1e-5);
    float v;
    splint(x, y, y2, 3, 0.5f, &v);
    EXPECT_NEAR(v, 0.25f, 1e-6);
    splint(x, y, y2, 3, 1.75f, &v);
    EXPECT_NEAR(v, 1.75f * 1.75f, 1e-5);

    // The limit is the double 9.9e29: the float nearest it lies above it
    // and so means a natural end, the float below it is a slope.
    spline(x, y, 3, 9.9e29f, NATURAL, y2);
    EXPECT_EQ(y2[0], 0);
    spline(x, y, 3, nextafterf(9.9e29f, 0), NATURAL, y2);
    EXPECT_NE(y2[0], 0);
}

// The middle knots lie closer than 1e-6 to a neighbour: u = 1000000 and
// y2[i] = y2[i-1] = 0 for i = 1, 2, then back-substitution gives 1e6 twice.
TEST(Spline, NearCoincidentKnotsTakeTheDegeneratePath) {
    float x[] = {0, 1, nextafterf(1, 2), 2}, y[] = {0, 1, 1, 0}, y2[4];
    ASSERT_LT(x[2] - x[1], 1e-6);
    spline(x, y, 4, NATURAL, NATURAL, y2);
    EXPECT_EQ(y2[0], 0);
    EXPECT_EQ(y2[1], 1000000);
    EXPECT_EQ(y2[2], 1000000);
    EXPECT_EQ(y2[3], 0);
}

TEST(Spline, FewerThanTwoPoints) {
    float x[] = {5}, y[] = {42}, y2[] = {7};
    spline(x, y, 1, NATURAL, NATURAL, y2);
    EXPECT_EQ(y2[0], 0);
    float v, dy, d2y;
    splint(x, y, y2, 1, -100, &v, &dy, &d2y);
    EXPECT_EQ(v, 42);
    EXPECT_EQ(dy, 0);
    EXPECT_EQ(d2y, 0);
    spline(x, y, 0, NATURAL, NATURAL, y2);
    EXPECT_EQ(y2[0], 0);
    splint(x, y, y2, 0, 1, &v);
    EXPECT_EQ(v, 0);
}

TEST(SplineDeathTest, EqualAbscissaeAroundTheQueryEndTheProgram) {
    float x[] = {1, 1}, y[] = {0, 3}, y2[] = {0, 0};
    float v;
    EXPECT_EXIT(splint(x, y, y2, 2, 1, &v), testing::ExitedWithCode(1),
                "^ERROR: numerical problem - Bad XA input to routine SPLINT\n$");
    float x3[] = {0, 0, 1}, y3[] = {1, 2, 3}, d3[] = {0, 0, 0};
    EXPECT_EXIT(splint(x3, y3, d3, 3, -1, &v), testing::ExitedWithCode(1),
                "Bad XA input to routine SPLINT");
}

TEST(SplineDeathTest, NrerrorWritesItsMessageAndExitsWithOne) {
    EXPECT_EXIT(nrerror("something odd"), testing::ExitedWithCode(1),
                "^ERROR: numerical problem - something odd\n$");
}

#ifdef ZE_HAVE_GSL
// An independent natural cubic spline, in double precision.
TEST(Spline, AgreesWithGslNaturalSplineOnRandomKnots) {
    gsl_set_error_handler_off();
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<float> gap(0.5f, 40), value(0, 4000), unit(0, 1);
    for (int round = 0; round < 200; round++) {
        int n = 3 + round % 40;
        std::vector<float> x(n), y(n), y2(n);
        std::vector<double> xd(n), yd(n);
        float at = unit(rng) * 100;
        for (int i = 0; i < n; i++) {
            x[i] = at;
            y[i] = value(rng);
            xd[i] = x[i];
            yd[i] = y[i];
            at += gap(rng);
        }
        spline(x.data(), y.data(), n, NATURAL, NATURAL, y2.data());

        gsl_interp* ref = gsl_interp_alloc(gsl_interp_cspline, n);
        gsl_interp_accel* acc = gsl_interp_accel_alloc();
        ASSERT_EQ(gsl_interp_init(ref, xd.data(), yd.data(), n), 0);
        struct Probe {
            float t;
            double v, dy, d2y;
        };
        std::vector<Probe> probes;
        // Float set-up and evaluation round a few dozen times relative to
        // the largest values involved (uneven gaps make the spline swing
        // well beyond the data), so the bounds scale with those.
        double scale = 4000, slopeScale = 1, curveScale = 1;
        for (int q = 0; q < 50; q++) {
            float t = x[0] + unit(rng) * (x[n - 1] - x[0]);
            Probe p = {t, gsl_interp_eval(ref, xd.data(), yd.data(), t, acc),
                       gsl_interp_eval_deriv(ref, xd.data(), yd.data(), t, acc),
                       gsl_interp_eval_deriv2(ref, xd.data(), yd.data(), t, acc)};
            probes.push_back(p);
            scale = fmax(scale, fabs(p.v));
            slopeScale = fmax(slopeScale, fabs(p.dy));
            curveScale = fmax(curveScale, fabs(p.d2y));
        }
        for (const Probe& p : probes) {
            float v, dy, d2y;
            splint(x.data(), y.data(), y2.data(), n, p.t, &v, &dy, &d2y);
            EXPECT_NEAR(v, p.v, 1e-6 * scale) << "round " << round << " at " << p.t;
            EXPECT_NEAR(dy, p.dy, 1e-5 * slopeScale) << "round " << round << " at " << p.t;
            EXPECT_NEAR(d2y, p.d2y, 1e-5 * curveScale) << "round " << round << " at " << p.t;
        }
        gsl_interp_accel_free(acc);
        gsl_interp_free(ref);
    }
}
#else
TEST(Spline, AgreesWithGslNaturalSplineOnRandomKnots) {
    GTEST_SKIP() << "GSL not found at configure time";
}
#endif

} // namespace
