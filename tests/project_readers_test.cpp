// The project's readers return their message and never end the process:
// each failure that the step turns into an exit is met here in-process,
// where an exit would end the test program.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "testSupport.h"
#include "zeInfo.h"
#include "zeNormFacBuild.h"
#include "zeNormFacFile.h"
#include "zeSampleNames.h"

namespace {

using zetest::TempDir;
using zetest::writeFile;

const char* infoHeader = "VERSION 1\nINFO\n";

InfoRead readInfo(const TempDir& dir, const std::string& text, ProjInfo& p, std::string& error) {
    writeFile(dir / "info", text);
    return readInfoFile((dir / "info").c_str(), p, error);
}

} // namespace

TEST(InfoFileReader, InvalidEnumeratedValuesAreReturned) {
    TempDir dir;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"normmethod = Linear\n", "normmethod should be linear or nonlinear"},
        {"lockdirection = up\n", "lockdirection should be fromright or fromleft"},
        {"bandheightmodel = flat\n", "bandheightmodel be decaying or random not 'flat'"},
        {"componentorder = 1 2 3 4\nx = 1\n", "parsing componentorder tag."},
    };
    for (const auto& c : cases) {
        ProjInfo p;
        std::string error;
        EXPECT_EQ(readInfo(dir, std::string(infoHeader) + "lanenumber = 7\n" + c.first, p, error),
                  InfoRead::BadValue)
            << c.first;
        EXPECT_EQ(error, c.second);
        // What was read before the bad value stays.
        EXPECT_EQ(p.lanenumber, 7);
    }
}

TEST(InfoFileReader, UnreadFilesAndSoundOnes) {
    TempDir dir;
    ProjInfo p;
    std::string error;
    EXPECT_EQ(readInfoFile((dir / "missing").c_str(), p, error), InfoRead::NotRead);
    EXPECT_EQ(error, "failed to load project file");
    EXPECT_EQ(readInfo(dir, "VERSION 1\nINF\n", p, error), InfoRead::NotRead);
    EXPECT_EQ(readInfo(dir, std::string(infoHeader) + "lanenumber 3\n", p, error),
              InfoRead::NotRead);
    EXPECT_EQ(readInfo(dir, std::string(infoHeader) + "normmethod = linear\nlanenumber = 3\n", p,
                       error),
              InfoRead::Read);
    EXPECT_EQ(error, "");
    EXPECT_EQ(p.lanenumber, 3);
}

TEST(NamesFileReader, EveryFailureIsReturnedWithTheFile) {
    TempDir dir;
    std::string path = dir / "names";
    SampleNames n;
    std::string error;
    EXPECT_FALSE(readSampleNames(path.c_str(), 2, n, error));
    EXPECT_EQ(error, "can't open " + path);
    writeFile(path, "NAME\n0 + \"a\" \"d\"\n");
    EXPECT_FALSE(readSampleNames(path.c_str(), 1, n, error));
    EXPECT_EQ(error, "wrong header for names file '" + path + "'");
    writeFile(path, "NAMES\n0 + \"a\" \"d\"\n");
    EXPECT_FALSE(readSampleNames(path.c_str(), 2, n, error));
    EXPECT_EQ(error, "reading " + path);
}

TEST(NamesFileReader, NamesAndCopyNumbers) {
    TempDir dir;
    std::string path = dir / "names";
    writeFile(path, "NAMES\n0 - \"m\" \"l\"\n1 + \"a/b\" \"E\"\n2 + \"a/b\" \"E\"\n3 + \"c\" \"E\"\n");
    SampleNames n;
    std::string error;
    ASSERT_TRUE(readSampleNames(path.c_str(), 4, n, error)) << error;
    EXPECT_STREQ(n.cloneNames(0).c_str(), "");
    EXPECT_STREQ(n.cloneNames(1).c_str(), "a_b");
    EXPECT_STREQ(n.digestNames(2).c_str(), "E");
    EXPECT_EQ(n.copyNumbers(1), 0);
    EXPECT_EQ(n.copyNumbers(2), 1);
    EXPECT_EQ(n.copyNumbers(3), 0);
}

TEST(NormFacFileReader, EveryFailureIsReturned) {
    TempDir dir;
    std::string path = dir / "norm-fac";
    const std::string lane0 = "NORMFACTORS\n2\n0 100 152\n0 3000 1220\n";
    struct Case {
        std::string text;
        int lanes, step;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"NORMFACTORS \n", 1, 1, "wrong header in '" + path + "'"},
        {lane0 + "2\n1 100 149\n1 3000 1231\n", 3, 2, "corrupted norm-facs file"},
        {lane0 + "1\n2 100 149\n", 3, 2, "fewer than two calibration pairs for lane 2 in '" + path + "'"},
        {lane0, 3, 2, "norm-fac file '" + path + "' ends before the block of lane 2"},
        {lane0, 3, 0, "markerrepeat must be at least 1, not 0"},
        {lane0, 4, 2, "lanenumber 4 does not end on a marker lane: lanenumber - 1 is not a "
                      "multiple of markerrepeat 2"},
    };
    for (const Case& c : cases) {
        writeFile(path, c.text);
        std::vector<NormFacBlock> blocks;
        std::string error;
        EXPECT_FALSE(readNormFacFile(path.c_str(), c.lanes, c.step, 1, blocks, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
    std::vector<NormFacBlock> blocks;
    std::string error;
    std::string missing = dir / "none";
    EXPECT_FALSE(readNormFacFile(missing.c_str(), 1, 1, 1, blocks, error));
    EXPECT_EQ(error, "couldn't open file '" + missing + "'");
}

TEST(NormFacFileReader, BlocksHoldThePairsAndTheLogSizes) {
    TempDir dir;
    std::string path = dir / "norm-fac";
    writeFile(path, "NORMFACTORS\n2\n0 100 152 1500\n0 3000 1220 200\n3\n4 100 149\n4 3000 1231\n"
                    "4 4000 1400\n");
    std::vector<NormFacBlock> blocks;
    std::string error;
    ASSERT_TRUE(readNormFacFile(path.c_str(), 3, 2, 2, blocks, error)) << error;
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].standard.nelem(), 2);
    EXPECT_EQ(blocks[0].sizes.nelem(), 2);
    EXPECT_EQ(blocks[0].sizes[1].norm, (float)std::log(200.0));
    EXPECT_EQ(blocks[0].sizes[1].gel, 1220.0f);
    EXPECT_EQ(blocks[1].standard.nelem(), 3);
    EXPECT_EQ(blocks[1].sizes.nelem(), 0);
    EXPECT_EQ(blocks[1].standard[2].norm, 4000.0f);
}

namespace {

// Builds the factors of `lanes` lanes, every markerStep-th a marker lane,
// from the file text, with every spline checked.
bool buildChecked(const std::string& text, int lanes, int markerStep, bool linear,
                  std::string& error) {
    TempDir dir;
    writeFile(dir / "norm-fac", text);
    std::vector<NormFacBlock> blocks;
    if (!readNormFacFile((dir / "norm-fac").c_str(), lanes, markerStep, 1, blocks, error))
        return false;
    dp_Array<NormFac> norm(0, lanes - 1), size(0, lanes - 1);
    bool haveSizes = false;
    return buildNormFacs(blocks, lanes, markerStep, linear, haveSizes, norm, size, error);
}

} // namespace

TEST(CheckedNormFacBuild, ASplineThatCannotBeEvaluatedIsRefusedBeforeItIsBuilt) {
    std::string error;
    // Lane 2's first two pairs share a gel position: below it the bisection
    // ends between them.
    const std::string equalGels =
        "NORMFACTORS\n3\n0 100 152\n0 2000 800\n0 3000 1220\n3\n2 100 149\n2 2000 149\n"
        "2 3000 1231\n";
    EXPECT_FALSE(buildChecked(equalGels, 3, 2, false, error));
    EXPECT_EQ(error, "lane 2: standard pairs 0 and 1 share the gel position 149, where the "
                     "spline cannot be evaluated");
    // The linear method has no spline to refuse.
    EXPECT_TRUE(buildChecked(equalGels, 3, 2, true, error)) << error;

    // Standard positions that descend and meet at the end: the inverse
    // spline's abscissae, reversed, start with the two equal ones.
    EXPECT_FALSE(buildChecked("NORMFACTORS\n3\n0 3000 100\n0 100 500\n0 100 900\n", 1, 1, false,
                              error));
    EXPECT_EQ(error, "lane 0: standard pairs 1 and 2 share the standard position 100, where the "
                     "spline cannot be evaluated");

    // Sizes always take the spline.
    EXPECT_FALSE(buildChecked("NORMFACTORS\n3\n0 100 100 500\n0 200 500 500\n0 300 900 100\n", 1,
                              1, true, error));
    EXPECT_NE(error.find("lane 0: size pairs 0 and 1 share the log size 6.2146"), std::string::npos)
        << error;

    // Equal knots inside ascending ones are never bracketed: accepted.
    EXPECT_TRUE(buildChecked("NORMFACTORS\n4\n0 100 100\n0 200 500\n0 300 500\n0 400 900\n", 1,
                             1, false, error))
        << error;
}
