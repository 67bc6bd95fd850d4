#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "testSupport.h"
#include "zeInfo.h"

namespace {

using zetest::TempDir;
using zetest::writeFile;

struct InfoFile {
    TempDir dir;
    ProjInfo info;
    bool read(const std::string& text) {
        writeFile(dir / "info", text);
        return info.readFrom((dir / "info").c_str());
    }
};

const char* header = "VERSION 3.10 lumo\nINFO\n";

TEST(ProjInfo, DefaultsWhenOnlyTheHeaderIsThere) {
    InfoFile f;
    ASSERT_TRUE(f.read(header));
    const ProjInfo& p = f.info;
    EXPECT_EQ(p.outputxsize, 2000);
    EXPECT_EQ(p.outputysize, 30);
    EXPECT_EQ(p.lanenumber, 0);
    EXPECT_EQ(p.dyenumber, 1);
    EXPECT_EQ(p.maxcontig, 3);
    EXPECT_TRUE(p.gelnumber == "");
    EXPECT_TRUE(p.compression == "gzip");
    EXPECT_TRUE(p.username == "Unknown");
    EXPECT_TRUE(p.normmethod);
    EXPECT_TRUE(p.lockdirection);
    EXPECT_FALSE(p.bandheightmodel);
    EXPECT_EQ(p.componentorder[3], 4);
}

TEST(ProjInfo, RejectedHeaders) {
    InfoFile f;
    EXPECT_FALSE(f.read(""));
    EXPECT_FALSE(f.read("\nVERSION 1\nINFO\n"));
    EXPECT_FALSE(f.read("VERSION 1\nINF\n"));
    // A bare VERSION line makes the next line the version text.
    EXPECT_FALSE(f.read("VERSION\nINFO\n"));
    EXPECT_TRUE(f.read("  VERSION\nINFO\nINFO\n"));
    ProjInfo p;
    EXPECT_FALSE(p.readFrom((f.dir / "missing").c_str()));
}

TEST(ProjInfo, GroupAAndGroupBValues) {
    InfoFile f;
    ASSERT_TRUE(f.read(std::string(header) +
                       "username = Ada Lovelace\n"
                       "lanenumber = 24 lanes\n"
                       "lanenumber = 25\n"
                       "dyenumber = 2\n"
                       "gelnumber = 17\n"
                       "outputxsize =\n 640\n"
                       "geltype = abi\n"
                       "imageformat = pgm\n"
                       "something = else entirely\n"
                       "markerrepeat = 4\n"
                       "normmethod = nonlinear\n"
                       "componentorder = 4:3,2;1\n"));
    const ProjInfo& p = f.info;
    EXPECT_TRUE(p.username == "Ada");
    EXPECT_EQ(p.lanenumber, 25);
    EXPECT_EQ(p.dyenumber, 2);
    EXPECT_TRUE(p.gelnumber == "17");
    EXPECT_EQ(p.outputxsize, 640);
    EXPECT_EQ(p.geltype, 0);
    EXPECT_EQ(p.imageformat, 2);
    EXPECT_EQ(p.markerrepeat, 4);
    EXPECT_FALSE(p.normmethod);
    EXPECT_EQ(p.componentorder[0], 4);
    EXPECT_EQ(p.componentorder[3], 1);
}

TEST(ProjInfo, GroupBValueMustEndItsLine) {
    InfoFile f;
    // "-9" becomes the next key, and "lanenumber" is not "=".
    EXPECT_FALSE(f.read(std::string(header) + "compression = gzip -9\nlanenumber = 3\n"));
    EXPECT_TRUE(f.info.compression == "gzip");
}

TEST(ProjInfo, KeysWithoutEqualsAndBadNumbers) {
    InfoFile f;
    EXPECT_FALSE(f.read(std::string(header) + "imagewidth=640\nlanenumber = 3\n"));
    InfoFile last;
    EXPECT_TRUE(last.read(std::string(header) + "imagewidth=640\n"));
    EXPECT_EQ(last.info.imagewidth, 0);
    // A value that is not a number ends the reading, successfully.
    InfoFile bad;
    EXPECT_TRUE(bad.read(std::string(header) + "lanenumber = 7\nimagewidth = abc\nlanenumber = 9\n"));
    EXPECT_EQ(bad.info.lanenumber, 7);
    EXPECT_EQ(bad.info.imagewidth, 0);
}

TEST(ProjInfoDeathTest, InvalidEnumeratedValuesEndTheProcess) {
    InfoFile f;
    EXPECT_EXIT(f.read(std::string(header) + "normmethod = Linear\n"), testing::ExitedWithCode(1),
                "ERROR: normmethod should be linear or nonlinear\n");
    EXPECT_EXIT(f.read(std::string(header) + "lockdirection = up\n"), testing::ExitedWithCode(1),
                "ERROR: lockdirection should be fromright or fromleft\n");
    EXPECT_EXIT(f.read(std::string(header) + "bandheightmodel = flat\n"), testing::ExitedWithCode(1),
                "ERROR: bandheightmodel be decaying or random not 'flat'\n");
    EXPECT_EXIT(f.read(std::string(header) + "componentorder = 1 2 3 4\nlanenumber = 2\n"),
                testing::ExitedWithCode(1), "ERROR: parsing componentorder tag.\n");
}

TEST(ReadLine, LineEndsAndEndOfInput) {
    std::istringstream in("first\r\n\nlast");
    dbString line;
    EXPECT_TRUE(readLine(in, line));
    EXPECT_TRUE(line == "first\r");
    EXPECT_TRUE(readLine(in, line));
    EXPECT_TRUE(line == "");
    EXPECT_FALSE(readLine(in, line));
    EXPECT_TRUE(line == "last");
    std::string longLine(5000, 'q');
    std::istringstream big(longLine + "\n");
    EXPECT_TRUE(readLine(big, line));
    EXPECT_EQ(line.len(), 5000u);
}

}  // namespace
