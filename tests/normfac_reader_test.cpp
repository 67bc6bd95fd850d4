#include <gtest/gtest.h>

#include <math.h>

#include <string>

#include "testSupport.h"
#include "zeNormFac.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;
using zetest::TempDir;
using zetest::writeFile;

// The example gel: lanes 0 and 2 are markers, with fragment sizes.
const char* exampleFile = "NORMFACTORS\n"
                          "2\n"
                          "0 100 152 1500\n"
                          "0 3000 1220 200\n"
                          "2\n"
                          "2 100 149 1500\n"
                          "2 3000 1231 200\n";

struct NormFacFile {
    TempDir dir;
    std::string path = dir / "norm-fac";
    dp_Array<NormFac> norm, size;
    bool haveSizes = false;
    std::string out, err;

    bool read(const std::string& text, int laneCount, int markerStep, bool linear = true,
              bool verbose = false, int laneIdFactor = 1) {
        writeFile(path, text);
        return readPath(path, laneCount, markerStep, linear, verbose, laneIdFactor);
    }
    bool readPath(const std::string& p, int laneCount, int markerStep, bool linear, bool verbose,
                  int laneIdFactor) {
        norm.resize(0, laneCount - 1);
        size.resize(0, laneCount - 1);
        CaptureStdout();
        CaptureStderr();
        bool ok = readNormFacs(laneCount, markerStep, laneIdFactor, dbString(p.c_str()), linear,
                               verbose, &haveSizes, &norm, &size);
        out = GetCapturedStdout();
        err = GetCapturedStderr();
        return ok;
    }
    // Runs a read that must end the process; for EXPECT_EXIT.
    void readAndDie(const std::string& text, int laneCount, int markerStep, int laneIdFactor = 1) {
        writeFile(path, text);
        norm.resize(0, laneCount - 1);
        size.resize(0, laneCount - 1);
        readNormFacs(laneCount, markerStep, laneIdFactor, dbString(path.c_str()), true, false,
                     &haveSizes, &norm, &size);
    }
};

// The standard positions of the interpolated lane, as the reader samples
// them: from lo by repeated float addition of (hi - lo) / 1000.
std::vector<float> samples(float lo, float hi) {
    std::vector<float> xs;
    float step = (hi - lo) / 1000;
    for (float x = lo; x <= hi; x += step)
        xs.push_back(x);
    return xs;
}

// Gel position of standard position x on the straight line through two
// calibration pairs.
double lineGel(double x, double n0, double g0, double n1, double g1) {
    return g0 + (x - n0) / (n1 - n0) * (g1 - g0);
}

TEST(NormFacReader, ExampleFileLinear) {
    NormFacFile f;
    ASSERT_TRUE(f.read(exampleFile, 3, 2));
    EXPECT_EQ(f.out, "Starting to read '" + f.path +
                         "'\n"
                         "Read fragment size information as well as migration data\n"
                         "Finished reading '" +
                         f.path + "'\n");
    EXPECT_EQ(f.err, "");
    EXPECT_TRUE(f.haveSizes);

    NormFac& lane0 = f.norm[0];
    EXPECT_FALSE(lane0.nonlinear);
    ASSERT_EQ(lane0.pairs.nelem(), 2);
    EXPECT_EQ(lane0.pairs[1].norm, 3000);
    EXPECT_EQ(lane0.gelLow, 152);
    EXPECT_EQ(lane0.gelHigh, 1220);
    EXPECT_EQ(f.norm[2].gelLow, 149);
    EXPECT_EQ(f.norm[2].gelHigh, 1231);

    // Sizes: natural logs, always by spline.
    EXPECT_TRUE(f.size[0].nonlinear);
    ASSERT_EQ(f.size[0].pairs.nelem(), 2);
    EXPECT_EQ(f.size[0].pairs[0].norm, (float)log(1500.0));
    EXPECT_EQ(f.size[0].pairs[1].norm, (float)log(200.0));
    EXPECT_EQ(f.size[2].pairs[1].gel, 1231);

    // Lane 1: the common range 100..3000, gel halfway between the lanes.
    std::vector<float> xs = samples(100, 3000);
    NormFac& lane1 = f.norm[1];
    EXPECT_FALSE(lane1.nonlinear);
    ASSERT_EQ(lane1.pairs.nelem(), (int)xs.size());
    ASSERT_GE(xs.size(), 1000u);
    ASSERT_LE(xs.size(), 1002u);
    EXPECT_EQ(lane1.pairs[0].norm, 100);
    EXPECT_EQ(lane1.pairs[0].gel, 150.5f);
    for (int i = 0; i < (int)xs.size(); i++) {
        double want =
            (lineGel(xs[i], 100, 152, 3000, 1220) + lineGel(xs[i], 100, 149, 3000, 1231)) / 2;
        ASSERT_EQ(lane1.pairs[i].norm, xs[i]) << i;
        ASSERT_NEAR(lane1.pairs[i].gel, want, 1e-3) << i;
    }
    EXPECT_EQ(lane1.gelLow, 150);
    EXPECT_EQ(lane1.gelHigh, (int)((lineGel(xs.back(), 100, 152, 3000, 1220) +
                                    lineGel(xs.back(), 100, 149, 3000, 1231)) /
                                   2));
    EXPECT_NEAR(lane1.normaliseBand(688), 100 + (688 - 150.5) / 1075 * 2900, 1e-2);

    // Size lane 1: log sizes from ln 200 up to ln 1500, gels falling.
    NormFac& size1 = f.size[1];
    EXPECT_TRUE(size1.nonlinear);
    ASSERT_GE(size1.pairs.nelem(), 1000);
    EXPECT_EQ(size1.pairs[0].norm, (float)log(200.0));
    EXPECT_EQ(size1.pairs[0].gel, 1225.5f);
    EXPECT_EQ(size1.gelHigh, 1225);
    double at700 = log(200.0) + (1225.5 - 700) / 1075 * (log(1500.0) - log(200.0));
    EXPECT_NEAR(size1.normaliseBand(700), at700, 1e-4);
}

TEST(NormFacReader, VerboseLines) {
    NormFacFile f;
    ASSERT_TRUE(f.read(exampleFile, 3, 2, true, true));
    std::vector<float> xs = samples(100, 3000);
    int high = (int)((lineGel(xs.back(), 100, 152, 3000, 1220) +
                      lineGel(xs.back(), 100, 149, 3000, 1231)) /
                     2);
    std::string head = "Starting to read '" + f.path +
                       "'\nRead fragment size information as well as migration data\n"
                       "Finished reading '" +
                       f.path + "'\n";
    // The size lane's last sample lies just below ln 1500.
    double l200 = (float)log(200.0), l1500 = (float)log(1500.0);
    std::vector<float> ls = samples((float)l200, (float)l1500);
    int sizeLow = (int)((lineGel(ls.back(), l200, 1220, l1500, 152) +
                         lineGel(ls.back(), l200, 1231, l1500, 149)) /
                        2);
    EXPECT_EQ(f.out, head + "Norm 0 2 1220 1231\n.....1 150 " + std::to_string(high) + "\n ----1 " +
                         std::to_string(sizeLow) + " 1225\n");

    // Marker lanes only: one "Norm " line for every lane but the last.
    NormFacFile g;
    ASSERT_TRUE(g.read("NORMFACTORS\n2\n0 100 152\n0 3000 1220\n"
                       "2\n1 100 149\n1 3000 1231\n2\n2 0 10\n2 10 20\n",
                       3, 1, true, true));
    EXPECT_EQ(g.out, "Starting to read '" + g.path + "'\nFinished reading '" + g.path +
                         "'\nNorm 0 1 1220 1231\nNorm 1 2 1231 20\n");
    EXPECT_FALSE(g.haveSizes);
}

TEST(NormFacReader, SplineMethodAndThreeLaneSteps) {
    NormFacFile f;
    ASSERT_TRUE(f.read(exampleFile, 3, 2, false));
    EXPECT_TRUE(f.norm[0].nonlinear);
    EXPECT_TRUE(f.norm[1].nonlinear);
    EXPECT_NEAR(f.norm[1].normaliseBand(688), 100 + (688 - 150.5) / 1075 * 2900, 1e-2);
    EXPECT_NEAR(f.norm[1].normToGel(1550), (150.5 + 1225.5) / 2, 1e-2);

    // Lanes 1 and 2 lie a third and two thirds of the way from 0 to 3.
    NormFacFile g;
    ASSERT_TRUE(g.read("NORMFACTORS\n2\n0 100 100\n0 3000 1000\n"
                       "2\n3 100 130\n3 3000 1030\n",
                       4, 3));
    EXPECT_EQ(g.norm[1].pairs[0].gel, 110);
    EXPECT_EQ(g.norm[2].pairs[0].gel, 120);
    float lastX = samples(100, 3000).back();
    EXPECT_EQ(g.norm[1].gelHigh, (int)(lineGel(lastX, 100, 100, 3000, 1000) + 10));
    EXPECT_EQ(g.norm[2].gelHigh, (int)(lineGel(lastX, 100, 100, 3000, 1000) + 20));
    EXPECT_FALSE(g.haveSizes);
}

// Standard positions that fall as the gel position rises: both lanes'
// ranges are turned round before the common range is taken.
TEST(NormFacReader, ReversedMarkerLanes) {
    NormFacFile f;
    ASSERT_TRUE(f.read("NORMFACTORS\n2\n0 3000 152\n0 100 1220\n"
                       "2\n2 3000 149\n2 100 1231\n",
                       3, 2));
    NormFac& lane1 = f.norm[1];
    ASSERT_GE(lane1.pairs.nelem(), 1000);
    EXPECT_EQ(lane1.pairs[0].norm, 100);
    EXPECT_EQ(lane1.pairs[0].gel, 1225.5f);
    EXPECT_EQ(lane1.gelHigh, 1225);
    EXPECT_EQ(lane1.gelLow, 150);
}

TEST(NormFacReader, LaneIdsFollowTheDyeCount) {
    NormFacFile f;
    ASSERT_TRUE(f.read("NORMFACTORS\n2\n0 100 152\n0 3000 1220\n"
                       "2\n4 100 149\n4 3000 1231\n",
                       3, 2, true, false, 2));
    EXPECT_EQ(f.norm[2].gelHigh, 1231);
}

TEST(NormFacReader, ShortLastBlockDropsThePartialLine) {
    NormFacFile f;
    ASSERT_TRUE(f.read("NORMFACTORS\n2\n0 100 152\n0 3000 1220\n"
                       "3\n2 100 149\n2 3000 1231\n2 4000 1300",
                       3, 2));
    EXPECT_EQ(f.norm[2].pairs.nelem(), 2);
    EXPECT_EQ(f.norm[2].gelHigh, 1231);
}

// Short lines add nothing, a blank line is checked against the lane id
// read last, and a line that does not start with a number ends the block:
// otherwise "2" would be read as a pair line of lane 2 in block 0. Blank
// lines right after a count are skipped with it and use up no pair line.
TEST(NormFacReader, BlankShortAndNonNumericLines) {
    NormFacFile f;
    ASSERT_TRUE(f.read("NORMFACTORS\n7\n0 100 152\n0 7\n\n0 1500 700\n0 3000 1220\nend of lane\n"
                       "3\n\n2 100 149\n  \t\n2 3000 1231\n",
                       3, 2));
    ASSERT_EQ(f.norm[0].pairs.nelem(), 3);
    EXPECT_EQ(f.norm[0].pairs[1].gel, 700);
    EXPECT_EQ(f.norm[2].pairs.nelem(), 2);
    EXPECT_FALSE(f.haveSizes);
}

TEST(NormFacReader, TheLastBlockDecidesAboutSizes) {
    NormFacFile f;
    ASSERT_TRUE(f.read("NORMFACTORS\n2\n0 100 152 1500\n0 3000 1220 200\n"
                       "2\n2 100 149\n2 3000 1231\n",
                       3, 2));
    EXPECT_FALSE(f.haveSizes);
    EXPECT_EQ(f.out.find("fragment size"), std::string::npos);
    EXPECT_EQ(f.size[0].pairs.nelem(), 2);

    // Sizes only in the last block: lane 0's size factor stays unbuilt, so
    // the common size range of lane 1 is empty.
    NormFacFile g;
    ASSERT_TRUE(g.read("NORMFACTORS\n2\n0 100 152\n0 3000 1220\n"
                       "2\n2 100 149 1500\n2 3000 1231 200\n",
                       3, 2));
    EXPECT_TRUE(g.haveSizes);
    EXPECT_EQ(g.size[0].pairs.nelem(), 0);
    EXPECT_EQ(g.size[1].pairs.nelem(), 0);
    EXPECT_EQ(g.size[1].gelLow, 0);
    EXPECT_EQ(g.size[1].gelHigh, 0);
    EXPECT_EQ(g.size[1].normaliseBand(500), NO_POSITION);
}

TEST(NormFacReader, SinglePointAndEmptyCommonRanges) {
    NormFacFile f;
    ASSERT_TRUE(f.read("NORMFACTORS\n2\n0 100 152\n0 3000 1220\n"
                       "2\n2 3000 149\n2 5000 1231\n",
                       3, 2));
    ASSERT_EQ(f.norm[1].pairs.nelem(), 1);
    EXPECT_EQ(f.norm[1].pairs[0].norm, 3000);
    EXPECT_EQ(f.norm[1].pairs[0].gel, 684.5f);
    EXPECT_EQ(f.norm[1].gelLow, 684);
    EXPECT_EQ(f.norm[1].gelHigh, 684);

    NormFacFile g;
    ASSERT_TRUE(g.read("NORMFACTORS\n2\n0 100 152\n0 3000 1220\n"
                       "2\n2 3100 149\n2 5000 1231\n",
                       3, 2));
    EXPECT_EQ(g.norm[1].pairs.nelem(), 0);
    EXPECT_EQ(g.norm[1].gelLow, 0);
    EXPECT_EQ(g.norm[1].normaliseBand(600), NO_POSITION);
}

TEST(NormFacReader, EmptyGelAndHeaderWithoutLineEnd) {
    NormFacFile f;
    f.haveSizes = true;
    ASSERT_TRUE(f.read("NORMFACTORS", 0, 0));
    EXPECT_FALSE(f.haveSizes);
    EXPECT_EQ(f.out, "Starting to read '" + f.path + "'\nFinished reading '" + f.path + "'\n");
    EXPECT_EQ(f.err, "");
}

TEST(NormFacReader, MissingFileReturnsFalse) {
    NormFacFile f;
    f.haveSizes = true;
    std::string missing = f.dir / "none";
    EXPECT_FALSE(f.readPath(missing, 3, 2, true, false, 1));
    EXPECT_TRUE(f.haveSizes);
    EXPECT_EQ(f.out, "Starting to read '" + missing + "'\n");
    EXPECT_EQ(f.err, "ERROR: couldn't open file '" + missing + "'\n");
}

TEST(NormFacReaderDeathTest, WrongHeader) {
    NormFacFile f;
    std::string msg = "^ERROR: wrong header in '" + f.path + "'\n$";
    EXPECT_EXIT(f.readAndDie("NORMFACTORS \n", 1, 1), testing::ExitedWithCode(1), msg);
    EXPECT_EXIT(f.readAndDie("\nNORMFACTORS\n", 1, 1), testing::ExitedWithCode(1), msg);
    EXPECT_EXIT(f.readAndDie("normfactors\n2\n0 1 2\n0 3 4\n", 1, 1), testing::ExitedWithCode(1),
                msg);
}

TEST(NormFacReaderDeathTest, CorruptedLaneIds) {
    NormFacFile f;
    const char* msg = "^ERROR: corrupted norm-facs file\n$";
    const char* lane0 = "NORMFACTORS\n2\n0 100 152\n0 3000 1220\n";
    EXPECT_EXIT(f.readAndDie(std::string(lane0) + "2\n1 100 149\n1 3000 1231\n", 3, 2),
                testing::ExitedWithCode(1), msg);
    // With two dyes lane 2 is written as 4.
    EXPECT_EXIT(f.readAndDie(std::string(lane0) + "2\n2 100 149\n2 3000 1231\n", 3, 2, 2),
                testing::ExitedWithCode(1), msg);
    // A line with one or two numbers is still checked.
    EXPECT_EXIT(f.readAndDie(std::string(lane0) + "3\n2 100 149\n3 5\n2 3000 1231\n", 3, 2),
                testing::ExitedWithCode(1), msg);
}

TEST(NormFacReaderDeathTest, MarkerBlockWithFewerThanTwoPairs) {
    NormFacFile f;
    std::string lane2 = "lane 2.*'" + f.path + "'";
    EXPECT_EXIT(f.readAndDie("NORMFACTORS\n2\n0 100 152\n0 3000 1220\n1\n2 100 149\n", 3, 2),
                testing::ExitedWithCode(1), "^ERROR: .*" + lane2);
    // The block ends at the non-numeric line with a single pair.
    EXPECT_EXIT(f.readAndDie("NORMFACTORS\n2\n0 100 152\n0 3000 1220\n"
                             "2\n2 100 149\n#\n2 3000 1231\n",
                             3, 2),
                testing::ExitedWithCode(1), "^ERROR: .*" + lane2);
    EXPECT_EXIT(f.readAndDie("NORMFACTORS\nmany\n0 100 152\n0 3000 1220\n", 1, 1),
                testing::ExitedWithCode(1), "^ERROR: .*lane 0");
    EXPECT_EXIT(f.readAndDie("NORMFACTORS\n0\n", 1, 1), testing::ExitedWithCode(1),
                "^ERROR: .*lane 0");
}

TEST(NormFacReaderDeathTest, FileEndsBeforeAllMarkerBlocks) {
    NormFacFile f;
    EXPECT_EXIT(f.readAndDie("NORMFACTORS\n2\n0 100 152\n0 3000 1220\n"
                             "2\n2 100 149\n2 3000 1231\n\n",
                             5, 2),
                testing::ExitedWithCode(1), "^ERROR: .*'" + f.path + "'.*lane 4");
    EXPECT_EXIT(f.readAndDie("NORMFACTORS\n", 1, 1), testing::ExitedWithCode(1),
                "^ERROR: .*lane 0");
}

TEST(NormFacReaderDeathTest, MarkerRepeatMustFitTheLanes) {
    NormFacFile f;
    EXPECT_EXIT(f.readAndDie(exampleFile, 3, 0), testing::ExitedWithCode(1),
                "^ERROR: markerrepeat");
    EXPECT_EXIT(f.readAndDie(exampleFile, 3, -2), testing::ExitedWithCode(1),
                "^ERROR: markerrepeat");
    EXPECT_EXIT(f.readAndDie(exampleFile, 4, 2), testing::ExitedWithCode(1),
                "^ERROR: lanenumber 4 ");
}

} // namespace
