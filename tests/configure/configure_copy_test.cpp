// lumo_configure end to end with answers piped to standard input: which
// lines are offered, how answers rewrite them, and that every other byte
// is copied.
#include "configureRun.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

class ConfigureCopy : public ::testing::Test {
  protected:
    // Runs lumo_configure on input with the answers piped in and returns
    // the output; a successful run never changes the length.
    std::string edit(const std::string& input, const std::string& answers) {
        zetest::writeFile(dir / "in", input);
        last = lumotest::runConfigure({dir / "in", dir / "out"}, answers);
        EXPECT_EQ(last.status, 0) << last.err;
        EXPECT_EQ(last.err, "");
        std::string output = zetest::readFile(dir / "out");
        EXPECT_EQ(output.size(), input.size());
        return output;
    }
    bool prompted(const std::string& keyword) const {
        return last.out.find("$" + keyword + " = ") != std::string::npos;
    }

    int promptCount() const {
        int count = 0;
        for (size_t at = last.out.find(" = "); at != std::string::npos;
             at = last.out.find(" = ", at + 1))
            count++;
        return count;
    }

    zetest::TempDir dir;
    zetest::RunResult last;
};

TEST_F(ConfigureCopy, InputWithoutMarkerIsCopiedAndNothingAsked) {
    std::string input = "#!/bin/sh\n$PRINTER: lp\nConfiguration: none\n\x01\xff\0 end"s;
    EXPECT_EQ(edit(input, "answer\n"), input);
    EXPECT_EQ(last.out, lumotest::expectedBanner());
}

TEST_F(ConfigureCopy, PrinterFieldTakesEachAnswerWithinItsFiveCharacters) {
    const std::string head = "#!/bin/sh\n# @(#) Configuration: printing\n";
    const std::string tail = "lpr -P \"$PRINTER\" \"$@\"\n";
    struct Case {
        const char* answers;
        const char* field;
    } cases[] = {
        {"laser\n", "laser"},    // fills the field exactly
        {"printer2\n", "print"}, // cut at the old line end
        {"x\n", "x    "},        // padded with spaces
        {"\n", "lp   "},         // empty answer keeps the line
        {"", "lp   "},           // end of input keeps the line
        {"   \n", "     "},      // spaces blank the value
    };
    for (const Case& c : cases) {
        std::string output = edit(head + "# @(#)  $PRINTER :  lp   \n" + tail, c.answers);
        EXPECT_EQ(output, head + "# @(#)  $PRINTER :  " + c.field + "\n" + tail)
            << "answers: " << c.answers;
        EXPECT_EQ(last.out.substr(0, lumotest::expectedBanner().size()),
                  lumotest::expectedBanner());
        EXPECT_TRUE(prompted("PRINTER")) << last.out;
    }
}

TEST_F(ConfigureCopy, OnlyMarkedLinesAfterTheConfigurationLineAreOffered) {
    std::string input = "@(#)$EARLY: a\n"
                        "# Configuration: not marked, so not the start\n"
                        "#   @(#)  $ALSO_EARLY: b\n"
                        "# @(#) Section Configuration: here\n"
                        "$PLAIN: c\n"
                        "@(#)$LATE: d\n"
                        "  @(#)$LATER: e\n";
    std::string expected = "@(#)$EARLY: a\n"
                           "# Configuration: not marked, so not the start\n"
                           "#   @(#)  $ALSO_EARLY: b\n"
                           "# @(#) Section Configuration: here\n"
                           "$PLAIN: c\n"
                           "@(#)$LATE: 1\n"
                           "  @(#)$LATER: 2\n";
    EXPECT_EQ(edit(input, "1\n2\n3\n"), expected);
    EXPECT_FALSE(prompted("EARLY"));
    EXPECT_FALSE(prompted("ALSO_EARLY"));
    EXPECT_FALSE(prompted("PLAIN"));
    EXPECT_TRUE(prompted("LATE"));
    EXPECT_TRUE(prompted("LATER"));
}

TEST_F(ConfigureCopy, ConfigurationLineOfferedItselfWhenItIsAKeywordLine) {
    EXPECT_EQ(edit("@(#)$Configuration: yes\n", "no\n"), "@(#)$Configuration: no \n");
}

TEST_F(ConfigureCopy, DollarDigitAndColonlessLinesAreNotOffered) {
    std::string input = "@(#)Configuration:\n@(#)$1ST: a\n@(#)$NOCOLON a\n@(#)$K: b\n";
    std::string expected = "@(#)Configuration:\n@(#)$1ST: a\n@(#)$NOCOLON a\n@(#)$K: x\n";
    EXPECT_EQ(edit(input, "x\ny\n"), expected);
    EXPECT_EQ(promptCount(), 1);
    EXPECT_TRUE(prompted("K"));
}

TEST_F(ConfigureCopy, TabAfterTheColonLeavesNoRoomButTakesAnAnswer) {
    // The tab ends "$KEY:", whose field would start beyond its end.
    std::string input = "@(#)Configuration:\n@(#)$KEY:\tvalue\n@(#)$NEXT: old\n";
    std::string expected = "@(#)Configuration:\n@(#)$KEY:\tvalue\n@(#)$NEXT: new\n";
    EXPECT_EQ(edit(input, "abc\nnew\n"), expected);
    EXPECT_TRUE(prompted("KEY"));
}

TEST_F(ConfigureCopy, NonPrintableBytesEndTheMarkedLineAndAreCopied) {
    std::string input = "\0\xff@(#)Configuration:\n"s
                        "@(#)$A: one\x01two\n"
                        "@(#)$B: x\ry\n"
                        "@(#)$C: \xe9t\xe9\n"
                        "@(#)$D: d\x7f"
                        "d\n"
                        "@(#)$E: e\0e\n"s;
    std::string expected = "\0\xff@(#)Configuration:\n"s
                           "@(#)$A: 1  \x01two\n"
                           "@(#)$B: 2\ry\n"
                           "@(#)$C: \xe9t\xe9\n" // no value, no room
                           "@(#)$D: 4\x7f"
                           "d\n"
                           "@(#)$E: 5\0e\n"s;
    EXPECT_EQ(edit(input, "1\n2\n3\n4\n5\n"), expected);
}

TEST_F(ConfigureCopy, LineOverAThousandCharactersOffersItsFirstThousand) {
    // "$LONG: " and 993 v's make the 1000 characters of the line; the
    // other 207 v's follow it unchanged.
    std::string input =
        "@(#)Configuration:\n@(#)$LONG: " + std::string(1200, 'v') + "\n@(#)$NEXT: old\n";
    std::string expected = "@(#)Configuration:\n@(#)$LONG: short" + std::string(988, ' ') +
                           std::string(207, 'v') + "\n@(#)$NEXT: new\n";
    EXPECT_EQ(edit(input, "short\nnew\n"), expected);

    std::string longAnswer(3000, 'a');
    expected = "@(#)Configuration:\n@(#)$LONG: " + std::string(993, 'a') + std::string(207, 'v') +
               "\n@(#)$NEXT: old\n";
    EXPECT_EQ(edit(input, longAnswer + "\n"), expected);
}

TEST_F(ConfigureCopy, MarkerInsideAMarkedLineKeepsTheTextBeforeIt) {
    std::string input = "@(#)Configuration:\n@(#)note @(#)$K: lp\n@(#)@(#)@(#)$L: v\n";
    EXPECT_EQ(edit(input, "\n\n"), input);
    EXPECT_EQ(edit(input, "laser\nw\n"),
              "@(#)Configuration:\n@(#)note @(#)$K: la\n@(#)@(#)@(#)$L: w\n");
}

TEST_F(ConfigureCopy, MarkedLineCutShortByEndOfInputIsOfferedAndWritten) {
    EXPECT_EQ(edit("@(#)Configuration:\n@(#)$K: lp", "laser\n"), "@(#)Configuration:\n@(#)$K: la");
    EXPECT_EQ(edit("@(#)Configuration:\n@(#)$K: lp", ""), "@(#)Configuration:\n@(#)$K: lp");
    EXPECT_EQ(edit("@(#)Configuration:\nend @(#)", "x\n"), "@(#)Configuration:\nend @(#)");
}

TEST_F(ConfigureCopy, EndOfAnswersKeepsEveryRemainingLine) {
    std::string input = "@(#)Configuration:\n@(#)$A: aa\n@(#)$B: bb\nx\n@(#)$C: cc\n";
    EXPECT_EQ(edit(input, "zz\n"), "@(#)Configuration:\n@(#)$A: zz\n@(#)$B: bb\nx\n@(#)$C: cc\n");
    EXPECT_TRUE(prompted("B"));
    EXPECT_TRUE(prompted("C"));
}

TEST_F(ConfigureCopy, ExampleScriptOfTheDistribution) {
    std::string input = zetest::readFile(ZE_SOURCE_DIR "/examples/configure/lumo_setup.sh");
    ASSERT_FALSE(input.empty());
    EXPECT_EQ(edit(input, ""), input);
}

} // namespace
