// Reading the traces file: header, lane strips and 16-bit traces.
#include <gtest/gtest.h>

#include <algorithm>

#include "testSupport.h"
#include "zeStep.h"

using namespace zetest;

namespace {

// Runs readTraces on the given file contents; err receives standard error.
bool readFrom(const std::string& fileText, int samples, StepData& d, std::string& err) {
    TempDir dir;
    writeFile(dir / "traces", fileText);
    d.tracesPath = (dir / "traces").c_str();
    d.samples = samples;
    testing::internal::CaptureStderr();
    bool ok = readTraces(d);
    err = testing::internal::GetCapturedStderr();
    return ok;
}

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += (char)(unsigned char)v;
    return s;
}

} // namespace

TEST(TracesRead, RowsAndSixteenBitTraces) {
    // Two samples, three rows of two bytes: row 0 low plane, row 2 high plane.
    std::string body = bytes({200, 255, 11, 12, 0, 255, // sample 0
                              0, 1, 21, 22, 128, 127}); // sample 1
    StepData d;
    std::string err;
    ASSERT_TRUE(readFrom("TRACES 2\nROWS 3\nfirst\nsecond\n" + body, 2, d, err));
    EXPECT_EQ(err, "");
    EXPECT_EQ(d.rowLength, 2);
    EXPECT_EQ(d.rowCount, 3);
    EXPECT_EQ(d.laneRows(0, 1)[0], 11);
    EXPECT_EQ(d.laneRows(0, 1)[1], 12);
    EXPECT_EQ(d.laneRows(1, 1)[1], 22);
    EXPECT_EQ(d.laneRows(1, 2)[0], 128);
    EXPECT_EQ(d.laneTraces(0)[0], 200);    // high 0, low 200
    EXPECT_EQ(d.laneTraces(0)[1], -1);     // high 255, low 255
    EXPECT_EQ(d.laneTraces(1)[0], -32768); // high 128, low 0
    EXPECT_EQ(d.laneTraces(1)[1], 32513);  // 127 * 256 + 1
}

TEST(TracesRead, SingleRowIsBothPlanes) {
    StepData d;
    std::string err;
    ASSERT_TRUE(readFrom("T 3\nR 1\na\nb\n" + bytes({1, 127, 255}), 1, d, err));
    EXPECT_EQ(d.laneTraces(0)[0], 257);
    EXPECT_EQ(d.laneTraces(0)[1], 127 * 257);
    EXPECT_EQ(d.laneTraces(0)[2], -1);
}

TEST(TracesRead, BlankLinesBeforeTheDiscardedLinesAreSkipped) {
    // The body starts with a byte 10 (a line end) and a blank, which must
    // not be taken for header text.
    StepData d;
    std::string err;
    ASSERT_TRUE(readFrom("TRACES 2\n\nROWS   1 \n\n\n  first line\nsecond line\n" + bytes({10, 32}),
                         1, d, err));
    EXPECT_EQ(d.laneRows(0, 0)[0], 10);
    EXPECT_EQ(d.laneRows(0, 0)[1], 32);
}

TEST(TracesRead, HeaderWordsAreNotExamined) {
    StepData d;
    std::string err;
    ASSERT_TRUE(readFrom("anything 1 else 1\n\nx\ny\n" + bytes({5}), 1, d, err));
    EXPECT_EQ(d.laneRows(0, 0)[0], 5);
}

TEST(TracesRead, ShortBodyReadsAsZeros) {
    StepData d;
    std::string err;
    ASSERT_TRUE(readFrom("TRACES 4\nROWS 2\na\nb\n" + bytes({1, 2, 3}), 2, d, err));
    EXPECT_EQ(err, "");
    EXPECT_EQ(d.laneRows(0, 0)[2], 3);
    EXPECT_EQ(d.laneRows(0, 0)[3], 0);
    for (int r = 0; r < 2; r++)
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(d.laneRows(1, r)[i], 0);
    EXPECT_EQ(d.laneTraces(1)[3], 0);
    // A header that ends before its two free lines leaves an empty body.
    StepData e;
    ASSERT_TRUE(readFrom("TRACES 2\nROWS 1\n", 1, e, err));
    EXPECT_EQ(e.laneRows(0, 0)[1], 0);
}

TEST(TracesRead, BytesAfterTheBodyAreIgnored) {
    StepData d;
    std::string err;
    ASSERT_TRUE(readFrom("T 1\nR 1\na\nb\n" + bytes({7, 8, 9}), 1, d, err));
    EXPECT_EQ(d.laneTraces(0)[0], 7 * 257);
}

TEST(TracesRead, MissingFileIsReported) {
    StepData d;
    d.tracesPath = "/nonexistent/traces";
    d.samples = 1;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(readTraces(d));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR: couldn't open trace file '/nonexistent/traces'\n");
}

TEST(TracesRead, UnusableHeadersEndTheStepWithOneMessage) {
    const char* headers[] = {
        "TRACES 0\nROWS 3\na\nb\n",           "TRACES 4\nROWS 0\na\nb\n",
        "TRACES -4\nROWS 3\na\nb\n",          "TRACES 4\nROWS -1\na\nb\n",
        "TRACES abc\nROWS 3\na\nb\n",         "TRACES 4\nROWS x\na\nb\n",
        "TRACES 99999999999\nROWS 3\na\nb\n", "",
        "TRACES 100000\nROWS 100000\na\nb\n", // far more than memory holds
    };
    for (const char* h : headers) {
        StepData d;
        std::string err;
        EXPECT_FALSE(readFrom(h, 2, d, err)) << h;
        EXPECT_EQ(err.compare(0, 7, "ERROR: "), 0) << h;
        EXPECT_NE(err.find("/traces'"), std::string::npos) << h;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << h;
    }
}
