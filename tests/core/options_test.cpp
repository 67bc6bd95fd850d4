// The option reader our programs share: the forms it accepts and the
// usage errors it gives, the number readers and their ranges, and help
// texts of any length.
#include <gtest/gtest.h>

#include <climits>

#include "zeOptions.h"
#include "zeTextFile.h"

namespace {

const std::vector<OptionRule> RULES = {{'t', "tolerance", true}, {'v', "", false},
                                       {0, "html", true},         {0, "html-title", true},
                                       HELP_OPTION,               VERSION_OPTION};

bool read(std::vector<std::string> words, CommandLine& line, std::string& error) {
    words.insert(words.begin(), "prog");
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(&w[0]);
    argv.push_back(nullptr);
    return readCommandLine((int)words.size(), argv.data(), "prog", RULES, line, error);
}

} // namespace

TEST(Options, AcceptedForms) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(read({"a", "-t", "3", "--tolerance=4", "-t5", "--html", "p.html", "-v", "b",
                      "--", "-t", "--html=x"},
                     line, error))
        << error;
    ASSERT_EQ(line.options.size(), 5u);
    EXPECT_EQ(line.options[0].name, "-t");
    EXPECT_EQ(line.options[0].value, "3");
    EXPECT_EQ(line.options[1].name, "--tolerance");
    EXPECT_EQ(line.options[1].value, "4");
    EXPECT_EQ(line.options[2].value, "5");
    EXPECT_EQ(line.options[3].rule, 2u);
    EXPECT_EQ(line.options[3].value, "p.html");
    EXPECT_EQ(line.options[4].name, "-v");
    EXPECT_EQ(line.operands, (std::vector<std::string>{"a", "b", "-t", "--html=x"}));
    // A second reading starts afresh.
    ASSERT_TRUE(read({"-h", "c"}, line, error));
    EXPECT_EQ(line.options.size(), 1u);
    EXPECT_EQ(line.operands, std::vector<std::string>{"c"});
}

TEST(Options, ValuesAndOperandsThatLookOdd) {
    CommandLine line;
    std::string error;
    // A separate value is taken whatever it looks like; "-" is an operand;
    // a long option and a longer one beginning with it are told apart.
    ASSERT_TRUE(read({"--html", "-v", "-", "--html=", "--html-title", "", "-vh", "--version",
                      "--html-title=a=b"},
                     line, error))
        << error;
    ASSERT_EQ(line.options.size(), 7u);
    EXPECT_EQ(line.options[0].name, "--html");
    EXPECT_EQ(line.options[0].value, "-v");
    EXPECT_EQ(line.options[1].value, "");
    EXPECT_EQ(line.options[2].name, "--html-title");
    EXPECT_EQ(line.options[2].rule, 3u);
    EXPECT_EQ(line.options[2].value, "");
    EXPECT_EQ(line.options[3].name, "-v");
    EXPECT_EQ(line.options[4].name, "-h");
    EXPECT_EQ(line.options[4].rule, 4u);
    EXPECT_EQ(line.options[5].rule, 5u);
    EXPECT_EQ(line.options[6].value, "a=b");
    EXPECT_EQ(line.operands, std::vector<std::string>{"-"});
    // Nothing at all.
    ASSERT_TRUE(read({}, line, error));
    EXPECT_TRUE(line.options.empty());
    EXPECT_TRUE(line.operands.empty());
}

TEST(Options, RefusedForms) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-x"}, "unknown option '-x' (prog -h for help)"},
        {{"--bogus=1"}, "unknown option '--bogus' (prog -h for help)"},
        {{"a", "-t"}, "-t needs a value (prog -h for help)"},
        {{"--html"}, "--html needs a value (prog -h for help)"},
        {{"--help=yes"}, "--help takes no value (prog -h for help)"},
        {{"--version=1"}, "--version takes no value (prog -h for help)"},
        // Long options only in full: a prefix of one, or of two, is unknown.
        {{"--tol", "3"}, "unknown option '--tol' (prog -h for help)"},
        {{"--tol=3"}, "unknown option '--tol' (prog -h for help)"},
        {{"--he"}, "unknown option '--he' (prog -h for help)"},
        {{"--he=1"}, "unknown option '--he' (prog -h for help)"},
        {{"--ht"}, "unknown option '--ht' (prog -h for help)"},
        {{"--vers"}, "unknown option '--vers' (prog -h for help)"},
        {{"-vx"}, "unknown option '-x' (prog -h for help)"},
        {{"-:"}, "unknown option '-:' (prog -h for help)"},
        {{"---"}, "unknown option '---' (prog -h for help)"},
        {{"--html-title"}, "--html-title needs a value (prog -h for help)"},
    };
    for (const auto& [words, expected] : cases) {
        CommandLine line;
        std::string error;
        EXPECT_FALSE(read(words, line, error)) << words[0];
        EXPECT_EQ(error, expected);
    }
}

TEST(Options, NumbersAndTheirRanges) {
    std::string error;
    long whole = 0;
    double real = 0;
    EXPECT_TRUE(wholeOption("p", {0, "-j", "12"}, 1, 64, whole, error));
    EXPECT_EQ(whole, 12);
    EXPECT_TRUE(wholeOption("p", {0, "-n", "-3"}, -5, 5, whole, error));
    EXPECT_EQ(whole, -3);
    for (const char* bad : {"", "0", "65", "1.5", " 3", "3 ", "+3", "99999999999999999999", "-"}) {
        EXPECT_FALSE(wholeOption("p", {0, "-j", bad}, 1, 64, whole, error)) << bad;
        EXPECT_EQ(error, std::string("-j needs a whole number from 1 to 64, not '") + bad +
                             "' (p -h for help)");
    }
    EXPECT_TRUE(realOption("p", {0, "-c", "1e-12"}, 0, true, real, error));
    EXPECT_EQ(real, 1e-12);
    for (const char* bad : {"", "0", "-1", "nan", "inf", "1e999", "x", " 1", "\n1", "1 "}) {
        EXPECT_FALSE(realOption("p", {0, "-c", bad}, 0, true, real, error)) << bad;
        EXPECT_EQ(error, std::string("-c needs a number above 0, not '") + shownText(bad) +
                             "' (p -h for help)");
    }
    EXPECT_EQ(shownText("\n1"), "\\x0A1"); // a message keeps to its line
    EXPECT_TRUE(realOption("p", {0, "-c", "0"}, 0, false, real, error));
    EXPECT_EQ(real, 0);
    EXPECT_FALSE(realOption("p", {0, "-c", "-0.5"}, 0, false, real, error));
    EXPECT_EQ(error, "-c needs a number of 0 or more, not '-0.5' (p -h for help)");

    EXPECT_TRUE(realRangeOption("p", {0, "--share", "1"}, 0, 1, real, error));
    EXPECT_EQ(real, 1);
    EXPECT_TRUE(realRangeOption("p", {0, "--share", "0"}, 0, 0.5, real, error));
    for (const char* bad : {"1.0001", "-1e-9", "nan", "", "0.5x"}) {
        EXPECT_FALSE(realRangeOption("p", {0, "--share", bad}, 0, 1, real, error)) << bad;
        EXPECT_EQ(error, std::string("--share needs a number from 0 to 1, not '") + bad +
                             "' (p -h for help)");
    }
    // A value refused leaves the variable as it was.
    real = 7;
    EXPECT_FALSE(realRangeOption("p", {0, "--share", "2"}, 0, 1, real, error));
    EXPECT_EQ(real, 7);
}

TEST(Options, WholeNumbersOfParts) {
    long v = 0;
    EXPECT_TRUE(wholeNumber("2147483647", 1, INT_MAX, v));
    EXPECT_EQ(v, INT_MAX);
    EXPECT_FALSE(wholeNumber("2147483648", 1, INT_MAX, v));
    EXPECT_TRUE(wholeNumber("007", 1, 9, v));
    EXPECT_EQ(v, 7);
    for (const char* bad : {"", "-", "+1", "1/2", "1e3", "0x10"})
        EXPECT_FALSE(wholeNumber(bad, -100, 100, v)) << bad;
    double real = 0;
    EXPECT_TRUE(realNumber("-2.5e-3", real));
    EXPECT_EQ(real, -2.5e-3);
    for (const char* bad : {"", " 1", "1 ", "1,5", "inf", "-nan"})
        EXPECT_FALSE(realNumber(bad, real)) << bad;
}

TEST(Options, UnsignedSeeds) {
    std::string error;
    uint64_t seed = 0;
    EXPECT_TRUE(unsignedOption("p", {0, "--seed", "18446744073709551615"}, seed, error));
    EXPECT_EQ(seed, UINT64_MAX);
    EXPECT_TRUE(unsignedOption("p", {0, "--seed", "0"}, seed, error));
    EXPECT_EQ(seed, 0u);
    for (const char* bad : {"18446744073709551616", "-1", "", "1.0", " 1", "+1", "abc"}) {
        EXPECT_FALSE(unsignedOption("p", {0, "--seed", bad}, seed, error)) << bad;
        EXPECT_EQ(error, std::string("--seed needs an unsigned whole number, not '") + bad +
                             "' (p -h for help)");
    }
}

TEST(Options, HelpTextsOfAnyLength) {
    EXPECT_EQ(helpText("  -t TOL  tolerance (default %d, %g)\n", 7, 1e-12),
              "  -t TOL  tolerance (default 7, 1e-12)\n");
    std::string line(5000, 'x');
    EXPECT_EQ(helpText("%s|%s", line.c_str(), "end"), line + "|end");
    EXPECT_EQ(helpText("%s", ""), "");
}
