// The ICS header and data writer: exact header bytes, the refusals, and
// the files it leaves behind.
#include "ics.h"
#include "testSupport.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

using zetest::fileExists;
using zetest::listDir;
using zetest::readFile;
using zetest::TempDir;

namespace {

// Byte order line entries for 16-bit samples on the machine running the
// tests: the least significant byte first is "1, 2".
std::string machineByteOrder() {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    return "\t1\t2";
#else
    return "\t2\t1";
#endif
}

// The record the step fills for one trace: one dimension of 4600 samples.
ICS traceRecord(short bits) {
    long origin[2] = {0, 0};
    long sizes[2] = {4600, 0};
    ICS ics;
    memset(&ics, 0x5a, sizeof ics); // fill_ics must overwrite everything
    fill_ics(1, origin, sizes, bits, &ics);
    return ics;
}

std::string concat(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line;
    return text;
}

// The twelve header lines of a 16-bit trace; without a base name the
// filename line is left out.
std::string traceHeader16(const std::string* base) {
    std::vector<std::string> lines = {
        "\t\n",
        "ics_version\t1.0\n",
        "layout\tparameters\t2\n",
        "layout\torder\tbits\tx\n",
        "layout\tsizes\t16\t4600\n",
        "layout\tcoordinates\tvideo\n",
        "layout\tsignificant_bits\t16\n",
        "representation\tformat\tinteger\n",
        "representation\tsign\tsigned\n",
        "representation\tbyte_order" + machineByteOrder() + "\n",
        "parameter\torigin\t0.000000\t0.000000\n",
    };
    if (base) lines.insert(lines.begin() + 2, "filename\t" + *base + "\n");
    return concat(lines);
}

int writeIcs(const std::string& base, ICS& ics) {
    std::vector<char> name(base.begin(), base.end());
    name.push_back('\0');
    return write_ics(name.data(), &ics);
}

int writeIds(const std::string& base, const std::string& bytes) {
    std::vector<char> name(base.begin(), base.end());
    name.push_back('\0');
    std::vector<char> data(bytes.begin(), bytes.end());
    return write_ids(name.data(), data.data(), (int)data.size());
}

} // namespace

TEST(IcsHeader, SixteenBitTraceMatchesTheTwelveLines) {
    TempDir dir;
    std::string base = dir / "c12.HindIII.0";
    ICS ics = traceRecord(16);
    ASSERT_EQ(writeIcs(base, ics), 0);
    EXPECT_EQ(readFile(base + ".ics"), traceHeader16(&base));
    EXPECT_EQ(listDir(dir.path()), std::vector<std::string>{"c12.HindIII.0.ics"});
}

TEST(IcsHeader, EightBitIsUnsignedWithoutByteOrder) {
    TempDir dir;
    std::string base = dir / "strip";
    ICS ics = traceRecord(8);
    ASSERT_EQ(writeIcs(base, ics), 0);
    EXPECT_EQ(readFile(base + ".ics"), concat({
                                           "\t\n",
                                           "ics_version\t1.0\n",
                                           "filename\t" + base + "\n",
                                           "layout\tparameters\t2\n",
                                           "layout\torder\tbits\tx\n",
                                           "layout\tsizes\t8\t4600\n",
                                           "layout\tcoordinates\tvideo\n",
                                           "layout\tsignificant_bits\t8\n",
                                           "representation\tformat\tinteger\n",
                                           "representation\tsign\tunsigned\n",
                                           "parameter\torigin\t0.000000\t0.000000\n",
                                       }));
}

TEST(IcsHeader, ThreeDimensionsListEveryParameter) {
    long origin[3] = {10, -2, 300};
    long sizes[3] = {100, 200, 7};
    ICS ics;
    fill_ics(3, origin, sizes, 32, &ics);
    testing::internal::CaptureStdout();
    ASSERT_EQ(write_ics(nullptr, &ics), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\t\n"
              "ics_version\t1.0\n"
              "layout\tparameters\t4\n"
              "layout\torder\tbits\tx\ty\tz\n"
              "layout\tsizes\t32\t100\t200\t7\n"
              "layout\tcoordinates\tvideo\n"
              "layout\tsignificant_bits\t32\n"
              "representation\tformat\tinteger\n"
              "representation\tsign\tsigned\n"
              "parameter\torigin\t0.000000\t10.000000\t-2.000000\t300.000000\n");
}

TEST(IcsHeader, FourthDimensionHasNoOrderName) {
    long origin[4] = {0, 0, 0, 0};
    long sizes[4] = {2, 3, 4, 5};
    ICS ics;
    fill_ics(4, origin, sizes, 8, &ics);
    testing::internal::CaptureStdout();
    ASSERT_EQ(write_ics(nullptr, &ics), 0);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("layout\tparameters\t5\nlayout\torder\tbits\tx\ty\tz\t\n"
                       "layout\tsizes\t8\t2\t3\t4\t5\n"),
              std::string::npos)
        << out;
}

TEST(IcsHeader, OptionalEntriesInTheirOrder) {
    ICS ics = traceRecord(16);
    ics.valid_compression = 1;
    strcpy(ics.compression_name, "gzip");
    ics.valid_scale = 1;
    ics.scale[0] = 1.0f;
    ics.scale[1] = 0.25f;
    ics.valid_labels = 1;
    strcpy(ics.labels[0], "intensity");
    strcpy(ics.labels[1], "position");
    ics.valid_units = 1;
    strcpy(ics.units[0], "relative");
    strcpy(ics.units[1], "undefined");
    testing::internal::CaptureStdout();
    ASSERT_EQ(write_ics(nullptr, &ics), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\t\n"
              "ics_version\t1.0\n"
              "layout\tparameters\t2\n"
              "layout\torder\tbits\tx\n"
              "layout\tsizes\t16\t4600\n"
              "layout\tcoordinates\tvideo\n"
              "layout\tsignificant_bits\t16\n"
              "representation\tformat\tinteger\n"
              "representation\tsign\tsigned\n"
              "representation\tcompression\tgzip\n"
              "representation\tbyte_order" +
                  machineByteOrder() +
                  "\n"
                  "parameter\torigin\t0.000000\t0.000000\n"
                  "parameter\tscale\t1.000000\t0.250000\n"
                  "parameter\tlabels\tintensity\tposition\n"
                  "parameter\tunits\trelative\tundefined\n");
}

TEST(IcsHeader, NullNamePrintsWithoutFilenameLine) {
    TempDir dir;
    ICS ics = traceRecord(16);
    testing::internal::CaptureStdout();
    int result = write_ics(nullptr, &ics);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(out, traceHeader16(nullptr));
}

TEST(IcsHeader, ExtraTextFollowsTheLastEntryCutAtItsLength) {
    ICS ics = traceRecord(16);
    char extra[] = "history\tnormalised\nNOT THIS";
    ics.extra_text = extra;
    ics.extra_length = 19;
    testing::internal::CaptureStdout();
    ASSERT_EQ(write_ics(nullptr, &ics), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              traceHeader16(nullptr) + "history\tnormalised\n");

    // A length beyond the text stops at its end.
    ics.extra_length = 1000;
    testing::internal::CaptureStdout();
    ASSERT_EQ(write_ics(nullptr, &ics), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              traceHeader16(nullptr) + "history\tnormalised\nNOT THIS");

    // Zero or a negative length means no free text.
    for (int length : {0, -5}) {
        ics.extra_length = length;
        testing::internal::CaptureStdout();
        ASSERT_EQ(write_ics(nullptr, &ics), 0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), traceHeader16(nullptr));
    }
}

TEST(IcsHeader, LongFreeTextIsWrittenWhole) {
    TempDir dir;
    std::string base = dir / "long";
    std::string extra(100000, 'q');
    ICS ics = traceRecord(16);
    ics.extra_text = &extra[0];
    ics.extra_length = (int)extra.size();
    ASSERT_EQ(writeIcs(base, ics), 0);
    EXPECT_EQ(readFile(base + ".ics"), traceHeader16(&base) + extra);
}

TEST(IcsHeader, FullTextFieldsStayWithinTheirArrays) {
    ICS ics = traceRecord(16);
    memset(ics.coordinates, 'c', sizeof ics.coordinates);
    memset(ics.order[1], 'o', sizeof ics.order[1]);
    testing::internal::CaptureStdout();
    ASSERT_EQ(write_ics(nullptr, &ics), 0);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("layout\torder\tbits\t" + std::string(10, 'o') + "\n"), std::string::npos)
        << out;
    EXPECT_NE(out.find("layout\tcoordinates\t" + std::string(20, 'c') + "\n"), std::string::npos)
        << out;
}

TEST(IcsRefusal, EachMissingRequiredEntryGivesMinusFourAndNoFile) {
    int ICS::*required[] = {&ICS::valid_parameters, &ICS::valid_order, &ICS::valid_sizes,
                            &ICS::valid_coordinates, &ICS::valid_significant_bits};
    for (int ICS::*flag : required) {
        TempDir dir;
        ICS ics = traceRecord(16);
        ics.*flag = 0;
        EXPECT_EQ(writeIcs(dir / "t", ics), -4);
        EXPECT_TRUE(listDir(dir.path()).empty());

        testing::internal::CaptureStdout();
        EXPECT_EQ(write_ics(nullptr, &ics), -4);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    }
}

TEST(IcsHeader, OptionalEntriesMayAllBeAbsent) {
    ICS ics = traceRecord(16);
    ics.valid_format = ics.valid_sign = ics.valid_byte_order = ics.valid_origin = 0;
    testing::internal::CaptureStdout();
    ASSERT_EQ(write_ics(nullptr, &ics), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\t\n"
                                                      "ics_version\t1.0\n"
                                                      "layout\tparameters\t2\n"
                                                      "layout\torder\tbits\tx\n"
                                                      "layout\tsizes\t16\t4600\n"
                                                      "layout\tcoordinates\tvideo\n"
                                                      "layout\tsignificant_bits\t16\n");
}

TEST(IcsRefusal, DimensionsTheRecordCannotHoldAreRefused) {
    long origin[5] = {0, 0, 0, 0, 0};
    long sizes[5] = {1, 1, 1, 1, 1};
    for (short ndims : {0, 5, -1}) {
        TempDir dir;
        ICS ics;
        fill_ics(ndims, origin, sizes, 16, &ics);
        EXPECT_EQ(writeIcs(dir / "t", ics), -4) << ndims;
        EXPECT_TRUE(listDir(dir.path()).empty());
    }
    // A parameter count beyond the record's arrays, set by hand.
    TempDir dir;
    ICS ics = traceRecord(16);
    ics.parameters = ICS_MAXDIM + 1;
    EXPECT_EQ(writeIcs(dir / "t", ics), -4);
    EXPECT_TRUE(listDir(dir.path()).empty());
}

TEST(IcsHeader, ByteOrderEntriesStopAtTheRecordsSixteen) {
    ICS ics = traceRecord(16);
    ics.sizes[0] = 256; // 32 bytes per sample claimed
    for (int i = 0; i < 16; i++)
        ics.byte_order[i] = i + 1;
    testing::internal::CaptureStdout();
    ASSERT_EQ(write_ics(nullptr, &ics), 0);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("representation\tbyte_order\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t"
                       "14\t15\t16\n"),
              std::string::npos)
        << out;
}

TEST(IcsFiles, MissingDirectoryGivesMinusTwo) {
    TempDir dir;
    ICS ics = traceRecord(16);
    EXPECT_EQ(writeIcs(dir / "no-such-dir/t", ics), -2);
    EXPECT_EQ(writeIds(dir / "no-such-dir/t", "ab"), -2);
    EXPECT_TRUE(listDir(dir.path()).empty());
}

TEST(IcsFiles, ExistingFilesAreTruncated) {
    TempDir dir;
    std::string base = dir / "t";
    zetest::writeFile(base + ".ics", std::string(20000, 'x'));
    zetest::writeFile(base + ".ids", std::string(20000, 'x'));
    ICS ics = traceRecord(16);
    ASSERT_EQ(writeIcs(base, ics), 0);
    ASSERT_EQ(writeIds(base, "xyz"), 0);
    EXPECT_EQ(readFile(base + ".ics"), traceHeader16(&base));
    EXPECT_EQ(readFile(base + ".ids"), "xyz");
}

TEST(IcsFiles, NewFilesFollowTheUmask) {
    TempDir dir;
    std::string base = dir / "t";
    mode_t old = umask(022);
    ICS ics = traceRecord(16);
    int icsResult = writeIcs(base, ics);
    int idsResult = writeIds(base, "ab");
    umask(old);
    ASSERT_EQ(icsResult, 0);
    ASSERT_EQ(idsResult, 0);
    for (const char* ext : {".ics", ".ids"}) {
        struct stat st;
        ASSERT_EQ(stat((base + ext).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0644u) << ext;
    }
}

TEST(IcsFiles, LongNamesInDeepDirectories) {
    TempDir dir;
    // Nested directories make a path of about 4000 bytes, within the
    // system's path limit; the last component uses most of its 255 bytes.
    std::string path = dir.path();
    while (path.size() < 3600) {
        path += "/" + std::string(200, 'd');
        ASSERT_EQ(mkdir(path.c_str(), 0777), 0);
    }
    std::string base = path + "/" + std::string(251, 'n');
    ASSERT_GT(base.size(), 3800u);
    ICS ics = traceRecord(16);
    ASSERT_EQ(writeIcs(base, ics), 0);
    ASSERT_EQ(writeIds(base, std::string("\x01\x02", 2)), 0);
    EXPECT_EQ(readFile(base + ".ics"), traceHeader16(&base));
    EXPECT_EQ(readFile(base + ".ids"), std::string("\x01\x02", 2));
}

TEST(IcsFiles, NameBeyondThePathLimitIsRefusedByTheSystem) {
    TempDir dir;
    std::string base = dir / std::string(5000, 'n');
    ICS ics = traceRecord(16);
    EXPECT_EQ(writeIcs(base, ics), -2);
    EXPECT_EQ(writeIds(base, "ab"), -2);
    EXPECT_TRUE(listDir(dir.path()).empty());
}

TEST(IcsFiles, FullDeviceGivesMinusThree) {
    TempDir dir;
    std::string base = dir / "full";
    ASSERT_EQ(symlink("/dev/full", (base + ".ics").c_str()), 0);
    ASSERT_EQ(symlink("/dev/full", (base + ".ids").c_str()), 0);
    ICS ics = traceRecord(16);
    EXPECT_EQ(writeIcs(base, ics), -3);
    EXPECT_EQ(writeIds(base, "ab"), -3);
    EXPECT_EQ(writeIds(base, std::string(9200, 'z')), -3);
}

// Writes the pair under a file size limit of 100 bytes, so that each file
// is cut short; the exit status has a bit for each result not -3 with
// errno EFBIG.
[[noreturn]] void writePairBeyondTheSizeLimit(const std::string& base) {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit;
    limit.rlim_cur = limit.rlim_max = 100;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(16);
    ICS ics = traceRecord(16);
    int header = writeIcs(base, ics);
    int headerErr = errno;
    int data = writeIds(base, std::string(9200, 'z'));
    int dataErr = errno;
    _exit((header != -3) | (headerErr != EFBIG) << 1 | (data != -3) << 2 | (dataErr != EFBIG) << 3);
}

// A file system that takes part of a file: the part is removed, and errno
// tells the caller why, as it does after a failed open.
TEST(IcsFiles, PartialFilesAreRemovedWithTheReasonInErrno) {
    TempDir dir;
    EXPECT_EXIT(writePairBeyondTheSizeLimit(dir / "big"), testing::ExitedWithCode(0), "^$");
    EXPECT_TRUE(listDir(dir.path()).empty());
    ICS ics = traceRecord(16);
    EXPECT_EQ(writeIcs(dir / "no-such-dir/t", ics), -2);
    EXPECT_EQ(errno, ENOENT);
}

TEST(IcsData, BytesAreWrittenUnchanged) {
    TempDir dir;
    std::string base = dir / "trace";
    std::vector<short> samples(4600);
    for (int p = 0; p < 4600; p++)
        samples[p] = (short)(p * 37 - 30000);
    std::string expected(reinterpret_cast<const char*>(samples.data()), 9200);
    ASSERT_EQ(write_ids(&base[0], reinterpret_cast<char*>(samples.data()), 9200), 0);
    EXPECT_EQ(readFile(base + ".ids"), expected);

    std::string all;
    for (int b = 0; b < 256; b++)
        all += (char)b;
    ASSERT_EQ(writeIds(base, all), 0);
    EXPECT_EQ(readFile(base + ".ids"), all);
}

TEST(IcsData, EmptyOrNegativeLengthWritesAnEmptyFile) {
    TempDir dir;
    std::string base = dir / "empty";
    char byte = 'x';
    for (int length : {0, -1}) {
        zetest::writeFile(base + ".ids", "old");
        EXPECT_EQ(write_ids(&base[0], &byte, length), 0);
        EXPECT_TRUE(fileExists(base + ".ids"));
        EXPECT_EQ(readFile(base + ".ids"), "");
    }
}
