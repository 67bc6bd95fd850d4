// The one rule of the hand-made tables (the marker files): words split at
// tabs or blanks, blank lines skipped, Windows line ends, and each fault
// named by file and line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zeHeadedTable.h"
#include "zeTextFile.h"

namespace {

const std::vector<std::string> HEADER = {"clone", "marker"};

struct Read {
    bool ok;
    std::vector<std::string> rows; // "<line>:<word>,<word>"
    std::string error;
};

Read parsed(const std::string& text) {
    Read r;
    r.ok = parseHeadedTable(
        text, "h.tsv", HEADER,
        [&](const std::vector<std::string>& w, long line) -> std::string {
            if (w[0] == "bad") return "a bad clone";
            r.rows.push_back(std::to_string(line) + ":" + w[0] + "," + w[1]);
            return "";
        },
        r.error);
    return r;
}

} // namespace

TEST(HeadedTable, TabsBlanksBlankLinesAndWindowsLineEndsAreOneRule) {
    Read r = parsed("clone \t marker\r\na1\tm1\r\n\r\n  a2   m2 \n\t\nb3\tm3");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.rows, (std::vector<std::string>{"2:a1,m1", "4:a2,m2", "6:b3,m3"}));
    EXPECT_TRUE(parsed("clone\tmarker\n").ok);
}

TEST(HeadedTable, EachFaultNamesTheFileAndLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "h.tsv:1: expected the header 'clone marker', not an empty file"},
        {"a1\tm1\n", "h.tsv:1: expected the header 'clone marker', not 'a1\tm1'"},
        {"\nclone\tmarker\n", "h.tsv:1: expected the header 'clone marker', not ''"},
        {"clone\tmarker\na1\tm1\n\na2 m1 extra\n", "h.tsv:4: expected 2 fields (clone marker), not 3"},
        {"clone\tmarker\n\ta1\n", "h.tsv:2: expected 2 fields (clone marker), not 1"},
        {"clone\tmarker\na1 m1\nbad m1\n", "h.tsv:3: a bad clone"},
        // A lone carriage return (old Mac line ends) or another control
        // byte would otherwise end up inside a clone's or marker's name.
        {"clone marker\ra1 m1\r", "h.tsv:1: a carriage return inside the line (lines must end in "
                                   "\\n or \\r\\n)"},
        {"clone\tmarker\r\na1\tm1\r\x05\n", "h.tsv:2: a carriage return inside the line (lines "
                                               "must end in \\n or \\r\\n)"},
        {"clone\tmarker\na1\tm1\x01\n", "h.tsv:2: a control character (byte 1) inside the line"},
        // A damaged first line is shown by its first 80 bytes, not whole.
        {std::string(200, 'x') + "\n",
         "h.tsv:1: expected the header 'clone marker', not '" + std::string(80, 'x') + "...'"}};
    for (const auto& [text, expected] : cases) {
        Read r = parsed(text);
        EXPECT_FALSE(r.ok) << text;
        EXPECT_EQ(r.error, expected);
    }
    std::string error;
    EXPECT_FALSE(readHeadedTable("/nonexistent/h.tsv", HEADER, nullptr, error));
    EXPECT_EQ(error.rfind("couldn't read '/nonexistent/h.tsv': ", 0), 0u) << error;
}

// A terminal would act on a control character; the cut never parts a
// character of several bytes, which it would show as garbage.
TEST(HeadedTable, ShownTextEscapesControlsAndCutsAtACharacterBoundary) {
    EXPECT_EQ(shownText("a\tb\x1b[2J\x7f\x01"), "a\tb\\x1B[2J\\x7F\\x01");
    EXPECT_EQ(shownText(std::string(80, 'a')), std::string(80, 'a'));
    EXPECT_EQ(shownText(std::string(81, 'a')), std::string(80, 'a') + "...");
    // "\xC3\xA9" (e acute) would straddle bytes 80 and 81.
    const std::string text = std::string(79, 'a') + "\xC3\xA9" + "bbb";
    EXPECT_EQ(shownText(text), std::string(79, 'a') + "...");
}
