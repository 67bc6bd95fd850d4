// The optimised resampling against the straightforward one kept in
// tests/reference (one spline set-up and one bisection per evaluated
// position, for every row): LaneResampler and normTrace give the same 4600
// floats, bit for bit, for every row and trace of generated gels of both
// methods, with and without sizes, and of lanes built to be awkward
// (non-monotone, falling, degenerate knots, almost nothing on the scale);
// and zeStep5's gel file, ICS data and PPM pictures hold exactly the bytes
// the straightforward resampling gives.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "facSupport.h"
#include "reference/referenceResampling.h"
#include "testSupport.h"
#include "zeGelStrip.h"
#include "zeLaneResampler.h"
#include "zeNames.h"
#include "zeNormTrace.h"
#include "zeSpline.h"
#include "zeStep.h"
#include "zeTruncate.h"

using namespace zetest;

namespace {

const int N = NORM_SCALE_LENGTH;

// First position where two resampled rows differ, or -1; compared as bits,
// so -0 against +0 or two different NaNs count as different.
int firstDifference(const float* a, const float* b) {
    for (int p = 0; p < N; p++)
        if (memcmp(&a[p], &b[p], sizeof(float)) != 0) return p;
    return -1;
}

#define EXPECT_SAME_ROW(expected, actual, what)                                                    \
    do {                                                                                           \
        int at_ = firstDifference(expected, actual);                                               \
        EXPECT_EQ(at_, -1) << what << ": position " << at_ << " expected "                         \
                           << (at_ >= 0 ? (expected)[at_] : 0) << " got "                          \
                           << (at_ >= 0 ? (actual)[at_] : 0);                                      \
    } while (0)

// The batch code exists twice, built for the baseline instruction set and,
// where the processor has it, for AVX2; every check runs both.
const bool INSTRUCTION_SETS[] = {false, true};

class BaselineOnly {
  public:
    explicit BaselineOnly(bool baseline) { LaneResampler::useBaselineInstructions(baseline); }
    ~BaselineOnly() { LaneResampler::useBaselineInstructions(false); }
};

std::string setName(bool baseline) {
    return baseline ? " (baseline)" : " (widest)";
}

// Resamples rows (8-bit) or traces (16-bit) in batches of the given sizes
// in turn, as the step hands over one lane's rows, and compares every one
// with the straightforward normTrace.
template <class Sample>
void checkRowsInBatches(LaneResampler& lane, NormFac& fac, int len,
                        const std::vector<Sample*>& rows, const std::vector<int>& sizes,
                        const std::string& what) {
    int rowCount = (int)rows.size();
    std::vector<float> expected((size_t)rowCount * N);
    for (int i = 0; i < rowCount; i++)
        reference::normTrace(rows[i], expected.data() + (size_t)i * N, len, fac);
    for (bool baseline : INSTRUCTION_SETS) {
        BaselineOnly set(baseline);
        std::vector<float> out((size_t)rowCount * N, -12345.0f);
        std::vector<float*> outs(rowCount);
        for (int i = 0; i < rowCount; i++)
            outs[i] = out.data() + (size_t)i * N;
        for (int done = 0, k = 0; done < rowCount; k++) {
            int batch = sizes[k % sizes.size()];
            if (batch > rowCount - done) batch = rowCount - done;
            lane.resample(rows.data() + done, outs.data() + done, batch);
            done += batch;
        }
        for (int i = 0; i < rowCount; i++)
            EXPECT_SAME_ROW(expected.data() + (size_t)i * N, outs[i],
                            what << setName(baseline) << " row " << i);
    }
}

void checkTrace(LaneResampler& lane, NormFac& fac, int len, short* trace, const std::string& what) {
    std::vector<float> expected(N);
    reference::normTrace(trace, expected.data(), len, fac);
    for (bool baseline : INSTRUCTION_SETS) {
        BaselineOnly set(baseline);
        std::vector<float> actual(N, -12345.0f), viaNormTrace(N, -12345.0f);
        lane.resample(trace, actual.data());
        EXPECT_SAME_ROW(expected.data(), actual.data(), what << setName(baseline) << " 16-bit");
        normTrace(trace, viaNormTrace.data(), len, fac);
        EXPECT_SAME_ROW(expected.data(), viaNormTrace.data(),
                        what << setName(baseline) << " 16-bit normTrace");
    }
}

// ---------------------------------------------------------------------------
// Generated gels, read with the step's own readers.

struct GelConfig {
    const char* method;
    bool sizes;
    unsigned seed;
};

std::string configName(const GelConfig& c) {
    return std::string(c.method) + (c.sizes ? "_sizes_" : "_nosizes_") + std::to_string(c.seed);
}

void generate(const std::string& dir, const GelConfig& c, const std::vector<std::string>& extra) {
    std::vector<std::string> args = {"--out",
                                     dir,
                                     "--seed",
                                     std::to_string(c.seed),
                                     "--method",
                                     c.method,
                                     c.sizes ? "--sizes" : "--no-sizes",
                                     "--compression",
                                     "true"};
    args.insert(args.end(), extra.begin(), extra.end());
    RunResult r = run(ZE_GENERATOR_BIN, args);
    ASSERT_EQ(r.status, 0) << r.err;
}

// Info, traces and norm-fac of a project, as the step reads them.
void loadGel(const std::string& dir, StepData& d) {
    d.projectDir = dir.c_str();
    ASSERT_TRUE(d.project.readFrom((dir + "/info").c_str()));
    d.samples = d.project.lanenumber * d.project.dyenumber;
    d.tracesPath = (dir + "/traces").c_str();
    ASSERT_TRUE(readTraces(d));
    d.normFacs.resize(0, d.project.lanenumber - 1);
    d.sizeFacs.resize(0, d.project.lanenumber - 1);
    std::ostringstream progress; // the reader's progress lines
    std::streambuf* saved = std::cout.rdbuf(progress.rdbuf());
    bool read = readNormFacs(d.project.lanenumber, d.project.markerrepeat, d.project.dyenumber,
                             dbString((dir + "/norm-fac").c_str()), d.project.normmethod, false,
                             &d.haveSizes, &d.normFacs, &d.sizeFacs);
    std::cout.rdbuf(saved);
    ASSERT_TRUE(read);
}

class GeneratedGel : public ::testing::TestWithParam<GelConfig> {};

// Every row of every sample (all dyes of a lane together, in batches of
// many sizes) and every 16-bit trace.
TEST_P(GeneratedGel, MatchesStraightforwardResampling) {
    TempDir tmp;
    std::string dir = tmp / "gel";
    const GelConfig& c = GetParam();
    generate(dir, c,
             {"--lanes", "9", "--dyes", "2", "--marker-repeat", "4", "--rows", "7", "--row-length",
              "1400"});
    StepData d;
    loadGel(dir, d);
    if (::testing::Test::HasFatalFailure()) return;
    ASSERT_EQ(d.haveSizes, c.sizes);

    const std::vector<int> sizes = {16, 1, 5, 3, 9, 2, 4, 17, 8, 6};
    LaneResampler lane;
    int dyes = d.project.dyenumber;
    for (int l = 0; l < d.project.lanenumber; l++) {
        NormFac& fac = d.normFacs(l);
        lane.prepare(fac, d.rowLength);
        std::vector<unsigned char*> rows;
        for (int s = l * dyes; s < (l + 1) * dyes; s++)
            for (int r = 0; r < d.rowCount; r++)
                rows.push_back(d.laneRows(s, r));
        std::string what = configName(c) + " lane " + std::to_string(l);
        checkRowsInBatches(lane, fac, d.rowLength, rows, sizes, what);
        std::vector<short*> traces;
        for (int s = l * dyes; s < (l + 1) * dyes; s++) {
            checkTrace(lane, fac, d.rowLength, d.laneTraces(s), what);
            traces.push_back(d.laneTraces(s));
        }
        checkRowsInBatches(lane, fac, d.rowLength, traces, {16}, what + " traces");
        // The public normTrace on one row of the lane.
        std::vector<float> expected(N), actual(N, -12345.0f);
        reference::normTrace(rows[0], expected.data(), d.rowLength, fac);
        normTrace(rows[0], actual.data(), d.rowLength, fac);
        EXPECT_SAME_ROW(expected.data(), actual.data(), what << " normTrace");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Methods, GeneratedGel,
    ::testing::Values(GelConfig{"nonlinear", true, 3}, GelConfig{"nonlinear", false, 4},
                      GelConfig{"linear", true, 5}, GelConfig{"linear", false, 6},
                      GelConfig{"nonlinear", true, 77}, GelConfig{"linear", true, 78}),
    [](const ::testing::TestParamInfo<GelConfig>& info) { return configName(info.param); });

// ---------------------------------------------------------------------------
// Lanes built by hand.

NormFac makeFac(bool nonlinear, const std::vector<std::pair<float, float>>& normGel) {
    return facFromPairs(normGel, nonlinear);
}

// Rows and traces of random intensities over the whole sample range, some
// smooth and some noise, so that the spline overshoots in both directions.
struct RandomRows {
    RandomRows(int count, int len, unsigned seed)
        : bytes((size_t)count * len), shorts((size_t)count * len) {
        std::mt19937 random(seed);
        for (int i = 0; i < count; i++) {
            for (int g = 0; g < len; g++) {
                double wave = std::sin(g * 0.03 * (i + 1));
                bool noise = i % 3 == 0;
                bytes[(size_t)i * len + g] =
                    noise ? (unsigned char)(random() & 0xff) : (unsigned char)(128 + 120 * wave);
                shorts[(size_t)i * len + g] =
                    noise ? (short)(random() & 0xffff) : (short)(32000 * wave);
            }
            rows.push_back(bytes.data() + (size_t)i * len);
            traces.push_back(shorts.data() + (size_t)i * len);
        }
    }
    std::vector<unsigned char> bytes;
    std::vector<short> shorts;
    std::vector<unsigned char*> rows;
    std::vector<short*> traces;
};

// Batches of 6, 1 and 14 rows take each width of the batch code.
void checkLane(NormFac fac, int len, const std::string& what) {
    RandomRows data(21, len, 99);
    LaneResampler lane;
    lane.prepare(fac, len);
    checkRowsInBatches(lane, fac, len, data.rows, {6, 1, 16}, what);
    checkRowsInBatches(lane, fac, len, data.traces, {6, 1, 16}, what + " traces");
    checkTrace(lane, fac, len, data.traces[0], what);
    std::vector<float> expected(N), actual(N, -12345.0f);
    reference::normTrace(data.rows[3], expected.data(), len, fac);
    normTrace(data.rows[3], actual.data(), len, fac);
    EXPECT_SAME_ROW(expected.data(), actual.data(), what << " normTrace");
}

// Standard positions rise, fall and rise again: the recorded positions are
// unordered, so the intervals come from the bisection.
TEST(OptimisedLanes, NonMonotoneMappingTakesTheBisection) {
    checkLane(makeFac(false, {{0, 100}, {3000, 400}, {1000, 700}, {4000, 1000}}), 1100,
              "up-down-up");
}

// A sharp turn: the neighbours of the turning point have the same standard
// position, so that knot is degenerate (u = 1000000); with wide intervals
// the spline then reaches values beyond the int range.
TEST(OptimisedLanes, DegenerateKnotsAndHugeValues) {
    checkLane(makeFac(false, {{0, 100}, {100, 110}, {0, 120}, {50, 130}}), 200, "narrow turn");
    checkLane(makeFac(false, {{0, 100}, {3000, 110}, {0, 120}, {4000, 130}}), 200, "wide turn");
}

// Standard positions fall as the gel position rises: the recorded points
// are reversed before the spline is set up.
TEST(OptimisedLanes, FallingLaneIsReversed) {
    checkLane(makeFac(true, {{4500, 50}, {3000, 600}, {1200, 1300}, {100, 1900}}), 2000,
              "falling spline");
    checkLane(makeFac(false, {{4590, 10}, {20, 1500}}), 1600, "falling linear");
}

// A spline lane that overshoots between its pairs, and a lane reaching
// outside the trace at both ends.
TEST(OptimisedLanes, CurvedAndClippedLanes) {
    checkLane(makeFac(true, {{0, 100}, {4000, 110}, {4100, 900}, {4590, 1000}}), 1200,
              "overshooting spline");
    checkLane(makeFac(true, {{-300, -50}, {2000, 600}, {4800, 2100}}), 1000, "clipped spline");
}

// Almost nothing on the scale: no recorded point (all zeros), a single one
// (a constant at one position), and a lane whose many positions collapse
// onto a few floats, most of them dropped as repeats.
TEST(OptimisedLanes, FewRecordedPoints) {
    checkLane(makeFac(false, {{5000, 100}, {6000, 200}}), 300, "beyond the scale");
    checkLane(makeFac(false, {{4599.5f, 100}, {4700.5f, 101}}), 300, "one point");
    checkLane(makeFac(false, {{1000, 0}, {1000.5f, 4000}}), 4100, "collapsed");
    checkLane(makeFac(false, {{10.25f, 5}, {11.0f, 6}}), 300, "two points");
}

// Two knots 0.00024 apart between wide intervals: the second derivatives
// grow so large that 16-bit traces reach far beyond the int range.
TEST(OptimisedLanes, NeedleBetweenWideIntervals) {
    checkLane(makeFac(false, {{0, 100}, {2000, 101}, {2000.0002f, 102}, {4500, 103}}), 200,
              "needle");
}

// Every knot on a whole standard position (gel g maps to 4 g exactly): the
// walk must pick the interval to the right of the knot, as the bisection.
TEST(OptimisedLanes, KnotsOnWholePositions) {
    checkLane(makeFac(false, {{0, 0}, {4096, 1024}}), 1100, "whole knots");
}

// The spline terms shared with the resampler leave spline() and splint()
// as they were.
TEST(OptimisedLanes, SplineAndSplintUnchanged) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> step(0.001f, 40.0f), value(-500, 500);
    for (int n : {2, 3, 5, 40, 400}) {
        std::vector<float> x(n), y(n), y2(n), y2Ref(n);
        float at = value(random);
        for (int i = 0; i < n; i++) {
            at += step(random);
            x[i] = at;
            y[i] = value(random);
        }
        spline(x.data(), y.data(), n, 1e30f, 1e30f, y2.data());
        reference::spline(x.data(), y.data(), n, 1e30f, 1e30f, y2Ref.data());
        ASSERT_EQ(memcmp(y2.data(), y2Ref.data(), n * sizeof(float)), 0) << n;
        for (float q = x[0] - 3; q < x[n - 1] + 3; q += 0.37f) {
            float v, vRef;
            splint(x.data(), y.data(), y2.data(), n, q, &v);
            reference::splint(x.data(), y.data(), y2Ref.data(), n, q, &vRef);
            ASSERT_EQ(memcmp(&v, &vRef, sizeof v), 0) << n << " at " << q;
        }
    }
}

// ---------------------------------------------------------------------------
// The whole program: the bytes zeStep5 writes from resampled traces, worked
// out again with the straightforward resampling.

std::string bytesOf(const std::vector<float>& resampled, bool sixteenBit) {
    std::string out;
    for (int p = 0; p < N; p++) {
        if (sixteenBit) {
            unsigned short v = (unsigned short)(truncToInt(resampled[p]) & 0xffff);
            out.append(reinterpret_cast<const char*>(&v), sizeof v);
        } else {
            out.push_back((char)lowByte(resampled[p]));
        }
    }
    return out;
}

std::string expectedPicture(StepData& d, int s) {
    const ProjInfo& p = d.project;
    int width = stripWidth(p.outputxsize), height = stripHeight(p.outputysize, d.rowCount);
    char header[64];
    snprintf(header, sizeof header, "P6\n%d %d\n255\n", width, height);
    std::string out = header;
    int interior = d.rowCount - 2;
    std::vector<float> resampled(N);
    for (int r = 1; r <= interior && height > 0; r++) {
        if (!stripRowDrawn(r, interior, p.outputysize)) continue;
        reference::normTrace(d.laneRows(s, r), resampled.data(), d.rowLength,
                             d.normFacs(s / p.dyenumber));
        int written = 0;
        for (int q = 0; q < N && written < width; q++) {
            if (!stripPositionDrawn(q, width)) continue;
            out.append(3, (char)stripGrey(resampled[q]));
            written++;
        }
        out.append(3 * (size_t)(width - written), (char)255);
    }
    return out;
}

void checkStepOutputs(const GelConfig& c, const std::vector<std::string>& knobs) {
    TempDir tmp;
    std::string dir = tmp / "gel";
    generate(dir, c, knobs);
    RunResult r = run(zeStep5Path(), {dir, "map"});
    ASSERT_EQ(r.status, 0) << r.err;
    StepData d;
    loadGel(dir, d);
    if (::testing::Test::HasFatalFailure()) return;

    // Names, as the step gives them (clone counter, copy numbers).
    std::ifstream names(dir + "/names");
    dbString header;
    names >> header >> std::ws;
    std::vector<std::string> clones(d.samples), digests(d.samples);
    int counter = 0;
    for (int s = 0; s < d.samples; s++) {
        NamesEntry e;
        ASSERT_TRUE(readNamesEntry(names, e));
        if (e.status == "-") continue;
        dbString clone, digest;
        splitNames(e.rest, counter++, clone, digest);
        clones[s] = clone.c_str();
        digests[s] = digest.c_str();
    }

    std::string gel = readFile(dir + "/map." + std::string(d.project.gelnumber.c_str()) + ".gel");
    size_t blocks = gel.find("@@@\n\n");
    ASSERT_NE(blocks, std::string::npos);
    std::string expectedBlocks;
    std::vector<float> resampled(N);
    for (int s = 0; s < d.samples; s++) {
        if (clones[s].empty()) continue;
        NormFac& fac = d.normFacs(s / d.project.dyenumber);
        reference::normTrace(d.laneRows(s, d.rowCount / 2), resampled.data(), d.rowLength, fac);
        expectedBlocks += bytesOf(resampled, false);
        if (!c.sizes) continue;
        int copy = 0;
        for (int t = 0; t < s; t++)
            if (clones[t] == clones[s] && digests[t] == digests[s]) copy++;
        std::string base =
            dir + "/Results/" + clones[s] + "." + digests[s] + "." + std::to_string(copy);
        reference::normTrace(d.laneTraces(s), resampled.data(), d.rowLength, fac);
        EXPECT_TRUE(readFile(base + ".ids") == bytesOf(resampled, true)) << base << ".ids";
        EXPECT_TRUE(readFile(base + ".ppm") == expectedPicture(d, s)) << base << ".ppm";
    }
    EXPECT_TRUE(gel.substr(blocks + 5) == expectedBlocks) << "trace blocks of the gel file";
}

TEST(OptimisedStep, OutputsMatchStraightforwardResamplingSplineWithSizes) {
    checkStepOutputs(GelConfig{"nonlinear", true, 21},
                     {"--lanes", "9", "--dyes", "3", "--marker-repeat", "4", "--rows", "12",
                      "--row-length", "1300", "--output-x", "1500", "--output-y", "7"});
}

TEST(OptimisedStep, OutputsMatchStraightforwardResamplingLinearWithSizes) {
    checkStepOutputs(GelConfig{"linear", true, 22},
                     {"--lanes", "5", "--dyes", "4", "--marker-repeat", "2", "--rows", "20",
                      "--row-length", "1000", "--output-x", "4600", "--output-y", "30"});
}

TEST(OptimisedStep, OutputsMatchStraightforwardResamplingWithoutSizes) {
    checkStepOutputs(GelConfig{"nonlinear", false, 23},
                     {"--lanes", "9", "--dyes", "2", "--marker-repeat", "8", "--rows", "5",
                      "--row-length", "900"});
    checkStepOutputs(GelConfig{"linear", false, 24},
                     {"--lanes", "9", "--dyes", "1", "--marker-repeat", "4", "--rows", "5",
                      "--row-length", "900"});
}

} // namespace
