// Reading bands files: the step's format, an empty gel number, a
// byte-order mark, and every kind of bad block with its exact message.
#include <gtest/gtest.h>

#include <sstream>

#include "zeBandsFile.h"

namespace {

struct Read {
    bool ok = false;
    std::vector<Fingerprint> prints;
    std::string error;
};

Read readText(const std::string& text, std::vector<std::string>* warnings = nullptr) {
    std::istringstream in(text);
    Read r;
    r.ok = readBands(in, "g.bands", r.prints, r.error, warnings);
    return r;
}

} // namespace

TEST(BandsFile, ReadsTheStepsBlocks) {
    Read r = readText("         bAB001C02 3 17\n0\n101\n4599\n-1\n"
                      "         bAB001C03 0 17\n-1\n"
                      "         bAB/7 2 \n5\n5\n-1\n");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.prints.size(), 3u);
    EXPECT_EQ(r.prints[0].clone, "bAB001C02");
    EXPECT_EQ(r.prints[0].gel, "17");
    EXPECT_EQ(r.prints[0].bands, (std::vector<int>{0, 101, 4599}));
    EXPECT_EQ(r.prints[1].clone, "bAB001C03");
    EXPECT_TRUE(r.prints[1].bands.empty());
    EXPECT_EQ(r.prints[2].clone, "bAB/7");
    EXPECT_EQ(r.prints[2].gel, ""); // a project without a gel number
    EXPECT_EQ(r.prints[2].bands, (std::vector<int>{5, 5}));
    EXPECT_TRUE(readText("").ok);
}

// Positions past the scale's end, as the step writes them for bands it
// extrapolates; files edited on Windows or by hand.
TEST(BandsFile, AcceptsWhatTheStepAndEditorsWrite) {
    Read r = readText("         bX 3 17\n4599\n4600\n2147483647\n-1\n");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.prints[0].bands, (std::vector<int>{4599, 4600, 2147483647}));

    r = readText("         bX 2 17\r\n314\r\n4700\r\n-1\r\n         bY 0 \r\n-1\r\n");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.prints.size(), 2u);
    EXPECT_EQ(r.prints[0].gel, "17");
    EXPECT_EQ(r.prints[0].bands, (std::vector<int>{314, 4700}));
    EXPECT_EQ(r.prints[1].clone, "bY");
    EXPECT_EQ(r.prints[1].gel, "");

    r = readText("         bX 3 17\n 5\n6 \n\t7\t\n -1 \n\n  \n\t\r\n\n");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.prints.size(), 1u);
    EXPECT_EQ(r.prints[0].bands, (std::vector<int>{5, 6, 7}));
    EXPECT_TRUE(readText("\n\r\n").ok);
    EXPECT_EQ(readText("         bX 1 17\n-0\n-1\n").prints[0].bands, std::vector<int>{0});
}

TEST(BandsFile, BadBlocksNameTheLineAndWhatIsWrong) {
    const char* H = "         bX 2 17\n";
    struct Case {
        std::string text, error;
    } cases[] = {
        {std::string(H) + "10\n-1\n",
         "g.bands:3: clone 'bX' has 1 bands but its header says 2"},
        {std::string(H) + "10\n20\n30\n-1\n",
         "g.bands:5: clone 'bX' has 3 bands but its header says 2"},
        {std::string(H) + "10\n20\n", "g.bands:3: missing \"-1\" at the end of the bands of clone 'bX'"},
        {std::string(H) + "10\n20\n         bY 1 17\n5\n-1\n",
         "g.bands:4: missing \"-1\" after the 2 bands of clone 'bX'"},
        {std::string(H) + "10\n-5\n-1\n", "g.bands:3: band position -5 of clone 'bX' is negative"},
        {std::string(H) + "10\n2x\n-1\n",
         "g.bands:3: band position '2x' of clone 'bX' is not a whole number"},
        {std::string(H) + "10\n12.5\n-1\n",
         "g.bands:3: band position '12.5' of clone 'bX' is not a whole number"},
        {std::string(H) + "\n20\n-1\n",
         "g.bands:2: band position '' of clone 'bX' is not a whole number"},
        {std::string(H) + "10\n2147483648\n-1\n",
         "g.bands:3: band position 2147483648 of clone 'bX' is too large (at most 2147483647)"},
        {std::string(H) + "10\n99999999999999999999\n-1\n",
         "g.bands:3: band position 99999999999999999999 of clone 'bX' is too large (at most "
         "2147483647)"},
        {std::string(H) + "10\n-99999999999999999999\n-1\n",
         "g.bands:3: band position -99999999999999999999 of clone 'bX' is negative"},
        {std::string(H) + "10\n 5 \n-1\n",
         "g.bands:3: band position 5 of clone 'bX' follows 10: positions must ascend"},
        {std::string(H) + "10\n1 2\n-1\n",
         "g.bands:3: band position '1 2' of clone 'bX' is not a whole number"},
        // A message shows control characters as escapes: a terminal acts on them.
        {std::string(H) + "10\r\n2\rx\r\n-1\r\n",
         "g.bands:3: band position '2\\x0Dx' of clone 'bX' is not a whole number"},
        {"         b\x1b[31mX 1 17\n5\n6\n-1\n",
         "g.bands:4: clone 'b\\x1B[31mX' has 2 bands but its header says 1"},
        // A line of megabytes is not repeated whole.
        {"         bX 1 17 " + std::string(100, 'y') + "\n-1\n",
         "g.bands:1: expected a header '<clone> <band count> <gel number>' (3 fields, each after "
         "one blank), not 4 fields: '         bX 1 17 " + std::string(63, 'y') + "...'"},
        {std::string(H) + "10\n" + std::string(90, '7') + "\n-1\n",
         "g.bands:3: band position " + std::string(80, '7') +
             "... of clone 'bX' is too large (at most 2147483647)"},
        {std::string(H) + "20\n10\n-1\n",
         "g.bands:3: band position 10 of clone 'bX' follows 20: positions must ascend"},
        {"         bX two 17\n-1\n",
         "g.bands:1: expected a header '<clone> <band count> <gel number>', not '         bX two 17'"},
        {"         bX -2 17\n-1\n",
         "g.bands:1: expected a header '<clone> <band count> <gel number>', not '         bX -2 17'"},
        // Three fields, each after one blank: a clone name holds none.
        {"         L000001 37 1 extra\n-1\n",
         "g.bands:1: expected a header '<clone> <band count> <gel number>' (3 fields, each after "
         "one blank), not 4 fields: '         L000001 37 1 extra'"},
        {"         bX 0\n-1\n",
         "g.bands:1: expected a header '<clone> <band count> <gel number>' (3 fields, each after "
         "one blank), not 2 fields: '         bX 0'"},
        {"15\n-1\n",
         "g.bands:1: expected a header '<clone> <band count> <gel number>' (3 fields, each after "
         "one blank), not 1 field: '15'"},
        // Blank lines are accepted only at the end.
        {std::string(H) + "1\n2\n-1\n\n \n         bY 0 17\n-1\n",
         "g.bands:5: expected a header '<clone> <band count> <gel number>', not ''"},
        {"\n" + std::string(H) + "1\n2\n-1\n",
         "g.bands:1: expected a header '<clone> <band count> <gel number>', not ''"},
    };
    for (const Case& c : cases) {
        Read r = readText(c.text);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_EQ(r.error, c.error) << c.text;
    }
}

// A byte-order mark that an editor put first is skipped with a warning,
// instead of becoming part of the first clone's name.
TEST(BandsFile, AByteOrderMarkAtTheStartIsSkippedWithAWarning) {
    std::vector<std::string> warnings;
    Read r = readText("\xEF\xBB\xBF         bA 1 5\r\n10\r\n-1\r\n", &warnings);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.prints.size(), 1u);
    EXPECT_EQ(r.prints[0].clone, "bA");
    EXPECT_EQ(warnings, std::vector<std::string>{
                            "WARNING: 'g.bands' starts with a UTF-8 byte-order mark, which is skipped"});
    EXPECT_EQ(readText("\xEF\xBB\xBF         bA 1 5\n10\n-1\n").prints[0].clone, "bA");
}

TEST(BandsFile, UnreadableFilesAreErrors) {
    std::vector<Fingerprint> prints;
    std::string error;
    EXPECT_FALSE(readBandsFile("/nonexistent/17.bands", prints, error));
    EXPECT_EQ(error, "couldn't read '/nonexistent/17.bands': No such file or directory");
    EXPECT_FALSE(readBandsFile("/", prints, error));
    EXPECT_EQ(error, "couldn't read '/': Is a directory");
}
