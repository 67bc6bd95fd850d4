#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "zeMystring.h"

namespace {

dbString readWord(std::istream& in) {
    dbString w;
    in >> w;
    return w;
}

TEST(DbString, DefaultIsEmptyWithoutBuffer) {
    dbString s;
    EXPECT_EQ(s.len(), 0u);
    EXPECT_EQ(s.getSize(), 0u);
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(static_cast<const char*>(s), nullptr);
    EXPECT_TRUE(s == "");
    std::ostringstream out;
    out << s;
    EXPECT_EQ(out.str(), "");
}

TEST(DbString, AssignmentsAndStorageRule) {
    dbString s;
    s = static_cast<const char*>(nullptr);
    EXPECT_TRUE(s.empty());
    EXPECT_NE(static_cast<const char*>(s), nullptr);
    EXPECT_EQ(s.getSize(), 1u);

    dbString c;
    c = 'x';
    EXPECT_TRUE(c == "x");
    c = '\0';
    EXPECT_TRUE(c.empty());
    c = "ab";
    c += '\0';
    EXPECT_TRUE(c == "ab");

    // A text buffer never shrinks, but a copy is fitted to its text.
    dbString big("0123456789012345678901234567890123456789");
    big = "y";
    EXPECT_EQ(big.len(), 1u);
    EXPECT_EQ(big.getSize(), 41u);
    dbString copy(big);
    EXPECT_EQ(copy.getSize(), 2u);
}

TEST(DbString, AppendToItselfDoubles) {
    dbString s("ab");
    s += s;
    EXPECT_TRUE(s == "abab");
    dbString t("xy");
    t.cat(static_cast<const char*>(t) + 1);
    EXPECT_TRUE(t == "xyy");
    dbString u = dbString("a") + "b" + dbString("c");
    EXPECT_TRUE(u == "abc");
}

TEST(DbString, WordReaderNeverCrossesALineEnd) {
    std::istringstream blankLine("   \nnext");
    EXPECT_TRUE(readWord(blankLine) == "");
    EXPECT_TRUE(readWord(blankLine) == "next");

    std::istringstream twoWords("abc def");
    EXPECT_TRUE(readWord(twoWords) == "abc");
    EXPECT_EQ(twoWords.peek(), ' ');

    std::istringstream lines("abc\ndef");
    EXPECT_TRUE(readWord(lines) == "abc");
    EXPECT_EQ(lines.peek(), '\n');
    EXPECT_TRUE(readWord(lines) == "");
    EXPECT_TRUE(readWord(lines) == "def");
}

TEST(DbString, WordReaderGrowsIn256ByteSteps) {
    std::string word(1000, 'w');
    std::istringstream in(word + " tail");
    dbString s;
    in >> s;
    EXPECT_EQ(s.len(), 1000u);
    EXPECT_EQ(s.getSize(), 1024u);
    EXPECT_EQ(std::string(s.c_str()), word);
}

TEST(DbString, WordReaderAtEndOfInput) {
    std::istringstream none("");
    dbString s;
    none >> s;
    EXPECT_TRUE(s.empty());
    EXPECT_FALSE(none.good());

    std::istringstream last("end");
    last >> s;
    EXPECT_TRUE(s == "end");
    EXPECT_FALSE(last.good());
}

TEST(DbData, RawValueReadsEveryByte) {
    std::string bytes("a b\n\0c", 6);
    std::istringstream in(bytes);
    dbData raw(static_cast<unsigned char>(0));
    in >> raw;
    EXPECT_EQ(raw.len(), 6u);
    std::ostringstream out;
    out << raw;
    EXPECT_EQ(out.str(), bytes);

    dbData five("ab\0cd", 5, 0);
    EXPECT_EQ(five.len(), 5u);
    std::ostringstream out5;
    out5 << five;
    EXPECT_EQ(out5.str(), std::string("ab\0cd", 5));
}

TEST(DbString, SubscriptOutOfRangeTouchesNothing) {
    dbString s("");
    s[s.len() - 1] = 0;  // the largest unsigned index
    EXPECT_TRUE(s.empty());
    dbString none;
    none[3] = 'z';
    EXPECT_EQ(none.getSize(), 0u);
}

TEST(DbString, FillAndSubSize) {
    dbString s;
    s.fill('x', 3);
    EXPECT_TRUE(s == "xxx");
    s.fill('y', 0);
    EXPECT_TRUE(s == "yyy");
    dbString t("abcdef");
    t.subSize(3);  // the text must fit in 4 bytes with its terminator
    EXPECT_TRUE(t == "abc");
    EXPECT_EQ(t.getSize(), 7u);
}

TEST(DbString, IntToTextAndUnsignedComparison) {
    EXPECT_TRUE(intTodbString(-42) == "-42");
    EXPECT_TRUE(intTodbString(0) == "0");
    EXPECT_TRUE(intTodbString(-2147483647 - 1) == "-2147483648");

    EXPECT_TRUE(dbString("B") < "a");
    EXPECT_TRUE(dbString("") < "a");
    EXPECT_TRUE(dbString() < "a");
    EXPECT_TRUE(dbString("abc") < "abd");
    EXPECT_TRUE(dbString("ab") < "abc");
    EXPECT_TRUE(dbString("\xe9") > "z");  // bytes compare unsigned
    EXPECT_TRUE(dbString("ab") <= "ab");
    EXPECT_TRUE(dbString("ab") >= "ab");
}

}  // namespace
