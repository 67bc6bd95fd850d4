// Recognition and splitting of configuration lines, and the bounds of the
// field rewrite.
#include "configLine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

struct Split {
    bool recognised;
    std::string keyword;
    std::string value;
    int start;
};

Split split(const std::string& line) {
    ConfigurationLine parts;
    memset(&parts, 'X', sizeof parts);
    parts.value_startidx = -1;
    bool ok = splitConfigurationLine(line.c_str(), parts);
    if (!ok) return {false, "", "", -1};
    return {true, parts.keyword_buf, parts.value_buf, parts.value_startidx};
}

TEST(ConfigLineSplit, PrinterLineOfTheManual) {
    // "  $PRINTER :  lp   ": the value field is "lp   ", indices 14 to 18.
    Split s = split("  $PRINTER :  lp   ");
    ASSERT_TRUE(s.recognised);
    EXPECT_EQ(s.keyword, "PRINTER");
    EXPECT_EQ(s.value, "lp");
    EXPECT_EQ(s.start, 14);
}

TEST(ConfigLineSplit, KeywordKeepsInnerSpacesAndOtherCharacters) {
    Split s = split("$My key-2.x  : v");
    ASSERT_TRUE(s.recognised);
    EXPECT_EQ(s.keyword, "My key-2.x");
    EXPECT_EQ(s.value, "v");
    EXPECT_EQ(s.start, 15);
}

TEST(ConfigLineSplit, ValueRunsToLastNonSpaceAndKeepsColons) {
    Split s = split("$URL:http://host:80/a b  ");
    ASSERT_TRUE(s.recognised);
    EXPECT_EQ(s.keyword, "URL");
    EXPECT_EQ(s.value, "http://host:80/a b");
    EXPECT_EQ(s.start, 5);
}

TEST(ConfigLineSplit, WithoutValueTheFieldStartsTwoAfterTheColon) {
    Split bare = split("$KEY:");
    ASSERT_TRUE(bare.recognised);
    EXPECT_EQ(bare.keyword, "KEY");
    EXPECT_EQ(bare.value, "");
    EXPECT_EQ(bare.start, 6);

    Split blank = split(" $KEY :    ");
    ASSERT_TRUE(blank.recognised);
    EXPECT_EQ(blank.value, "");
    EXPECT_EQ(blank.start, 8);
}

TEST(ConfigLineSplit, SingleLetterKeywordDirectlyBeforeColon) {
    Split s = split("$a:b");
    ASSERT_TRUE(s.recognised);
    EXPECT_EQ(s.keyword, "a");
    EXPECT_EQ(s.value, "b");
    EXPECT_EQ(s.start, 3);
}

TEST(ConfigLineSplit, LinesThatAreNotConfigurationLines) {
    for (const char* line : {
             "",                 // empty
             "   ",              // spaces only
             "$1ST: a",          // digit after the dollar sign
             "$_X: a",           // neither letter
             "$ A: a",           // space after the dollar sign
             "$: a",             // colon right after the dollar sign
             "$PRINTER lp",      // no colon
             "PRINTER: lp",      // no dollar sign
             "x $PRINTER: lp",   // something before the dollar sign
             " Configuration: x" // the section heading itself
         }) {
        EXPECT_FALSE(split(line).recognised) << '"' << line << '"';
    }
}

TEST(ConfigLineSplit, LongestLineFitsTheBuffers) {
    // 1000 characters: "$", a 994-letter keyword, ": v w".
    std::string keyword(994, 'k');
    std::string line = "$" + keyword + ": v ";
    ASSERT_EQ(line.size(), 999u);
    line += "w"; // value "v w"
    Split s = split(line);
    ASSERT_TRUE(s.recognised);
    EXPECT_EQ(s.keyword, keyword);
    EXPECT_EQ(s.value, "v w");
    EXPECT_EQ(s.start, 997);

    // The colon is the last character: the field would start at 1001.
    std::string noValue = "$" + std::string(998, 'k') + ":";
    Split n = split(noValue);
    ASSERT_TRUE(n.recognised);
    EXPECT_EQ(n.keyword.size(), 998u);
    EXPECT_EQ(n.start, 1001);
}

// A line buffer on the heap, exactly as large as the editor's, so that a
// write past it is caught by the address sanitizer.
std::unique_ptr<char[]> lineBuffer(const std::string& line) {
    std::unique_ptr<char[]> buf(new char[LINEBUF_MAX + 1]);
    memset(buf.get(), 0, LINEBUF_MAX + 1);
    memcpy(buf.get(), line.data(), line.size());
    return buf;
}

TEST(ConfigLineRewrite, AnswerThenSpacesToTheBufferEnd) {
    auto buf = lineBuffer("  $PRINTER :  lp   ");
    rewriteField(buf.get(), 14, "x");
    EXPECT_EQ(std::string(buf.get(), 19), "  $PRINTER :  x    ");
    for (int i = 15; i < LINEBUF_MAX; i++)
        ASSERT_EQ(buf[i], ' ') << i;
    EXPECT_EQ(buf[LINEBUF_MAX], '\0');
}

TEST(ConfigLineRewrite, LongAnswerStopsAtTheBufferEnd) {
    auto buf = lineBuffer("$K: v");
    std::string answer(5000, 'a');
    rewriteField(buf.get(), 4, answer.c_str());
    EXPECT_EQ(std::string(buf.get(), 4), "$K: ");
    EXPECT_EQ(std::string(buf.get() + 4, LINEBUF_MAX - 4), std::string(LINEBUF_MAX - 4, 'a'));
    EXPECT_EQ(buf[LINEBUF_MAX], '\0');
}

TEST(ConfigLineRewrite, FieldBeyondTheBufferTakesNothing) {
    std::string line = "$" + std::string(998, 'k') + ":";
    auto buf = lineBuffer(line);
    for (int start : {(int)LINEBUF_MAX, (int)LINEBUF_MAX + 1}) {
        rewriteField(buf.get(), start, "answer");
        EXPECT_EQ(std::string(buf.get(), LINEBUF_MAX), line);
        EXPECT_EQ(buf[LINEBUF_MAX], '\0');
    }
}

} // namespace
