// zeStep5 on a gel whose every marker lane calibrates two standard positions
// at one gel position (tests/repeated_marker_position/README.md): the
// marker splines take the degenerate-knot path and the lanes between the
// markers get far-extrapolated factors. Its outputs are pinned byte for
// byte; its standard positions move when the splines round differently.
#include <gtest/gtest.h>

#include <cstdint>

#include "testSupport.h"

using namespace zetest;

namespace {

const char* const REPEATED_POSITION_INPUTS[] = {"info", "names", "norm-fac", "raw-bands",
                                                "traces"};

std::string repeatedPositionFile(const std::string& name) {
    return std::string(ZE_SOURCE_DIR) + "/tests/repeated_marker_position/" + name;
}

// 64-bit FNV-1a: pins a large output without committing it.
uint64_t fnv1a(const std::string& bytes) {
    uint64_t h = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

TEST(RepeatedMarkerPosition, StepWritesTheBandsSizesAndTablesOfItsCalibration) {
    TempDir t;
    ASSERT_EQ(run("/bin/mkdir", {t / "p"}).status, 0);
    for (const char* f : REPEATED_POSITION_INPUTS)
        writeFile(t / "p/" + f, readFile(repeatedPositionFile(f)));
    // Relative, as the gel file's header names the project directory.
    RunResult r = run(zeStep5Path(), {"p", "map"}, "", t.path());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");

    // The bands and sizes files, pinned whole; the samples between markers
    // 12 and 18 keep their bands in both.
    std::string bands = readFile(t / "p/1369.bands");
    std::string sizes = readFile(t / "p/1369.sizes");
    for (const std::string* f : {&bands, &sizes}) {
        EXPECT_NE(f->find("         H733_2 6 1369\n"), std::string::npos);
        EXPECT_NE(f->find("         CH17-677A 1 1369\n"), std::string::npos);
        EXPECT_NE(f->find("         H756_2 3 1369\n"), std::string::npos);
    }
    EXPECT_EQ(bands.size(), 2985u);
    EXPECT_EQ(fnv1a(bands), 0xd581d0da1de5c799ull);
    EXPECT_EQ(sizes.size(), 2964u);
    EXPECT_EQ(fnv1a(sizes), 0x9f33de1cdd10e194ull);

    // Lanes 13 and 15, between markers 12 and 18: positions in raw-band
    // order with sizes from the log sizes near 10 of their size factors.
    EXPECT_EQ(readFile(t / "p/Results/H733_2.BamHI.0.bands"),
              "  3977.62     22892\n"
              "  4509.01     23051\n"
              "  3867.37     22862\n"
              "  4077.43     22921\n"
              "  3950.81     22885\n"
              "  4607.34     23083\n");
    EXPECT_EQ(readFile(t / "p/Results/CH17-677A.Sau3A.0.bands"), "  4137.66     22620\n");
    EXPECT_EQ(readFile(t / "p/Results/H756_2.d.0.bands"),
              "  3822.92     22552\n"
              "  3989.39     22587\n"
              "  4363.99     22672\n");
    // Lane 19's factors have no pairs (an empty common range): nothing kept.
    EXPECT_EQ(readFile(t / "p/Results/H733_2.BamHI.1.bands"), "");

    std::string gel = readFile(t / "p/map.1369.gel");
    EXPECT_EQ(gel.size(), 175762u);
    EXPECT_EQ(fnv1a(gel), 0x7bdef1cec89d4c0cull);
}

} // namespace
