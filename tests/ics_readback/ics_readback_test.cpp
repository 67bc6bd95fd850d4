// A trace written by the ICS writer, read back by libics.
#include "testSupport.h"
#include "tracePairWriter.h"

#include <gtest/gtest.h>
#include <libics.h>

#include <vector>

namespace {

// Significance of each byte of a 16-bit sample in this machine's memory
// order, as libics records a file's byte order (1 = least significant).
void machineByteOrder(int order[2]) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    order[0] = 1;
    order[1] = 2;
#else
    order[0] = 2;
    order[1] = 1;
#endif
}

} // namespace

TEST(IcsReadback, SixteenBitTraceReadsBackUnchanged) {
    zetest::TempDir dir;
    std::string base = dir / "c12.HindIII.0";
    // Values over the whole signed range, including both extremes.
    std::vector<short> trace(4600);
    for (int p = 0; p < 4600; p++)
        trace[p] = (short)((p * 7919) % 65536 - 32768);
    trace[0] = -32768;
    trace[1] = 32767;
    trace[2] = 0;
    trace[3] = -1;

    TracePairResult written = writeTracePair(base, trace);
    ASSERT_EQ(written.header, 0);
    ASSERT_EQ(written.data, 0);

    ICS* ics = nullptr;
    Ics_Error err = IcsOpen(&ics, (base + ".ics").c_str(), "r");
    ASSERT_EQ(err, IcsErr_Ok) << IcsGetErrorText(err);

    Ics_DataType type = Ics_unknown;
    int ndims = 0;
    size_t dims[ICS_MAXDIM] = {};
    err = IcsGetLayout(ics, &type, &ndims, dims);
    EXPECT_EQ(err, IcsErr_Ok) << IcsGetErrorText(err);
    EXPECT_EQ(type, Ics_sint16);
    EXPECT_EQ(ndims, 1);
    EXPECT_EQ(dims[0], 4600u);

    size_t bits = 0;
    EXPECT_EQ(IcsGetSignificantBits(ics, &bits), IcsErr_Ok);
    EXPECT_EQ(bits, 16u);

    int order[2];
    machineByteOrder(order);
    EXPECT_EQ(ics->byteOrder[0], order[0]);
    EXPECT_EQ(ics->byteOrder[1], order[1]);

    EXPECT_EQ(IcsGetDataSize(ics), 9200u);
    std::vector<short> data(4600, 12345);
    err = IcsGetData(ics, data.data(), data.size() * sizeof(short));
    EXPECT_EQ(err, IcsErr_Ok) << IcsGetErrorText(err);
    EXPECT_EQ(data, trace);

    EXPECT_EQ(IcsClose(ics), IcsErr_Ok);
}
