// The option reader our programs share: the forms it accepts and the
// usage errors it gives.
#include <gtest/gtest.h>

#include "zeOptions.h"

namespace {

const std::vector<OptionSpec> SPECS = {
    {'t', "tolerance", true}, {'v', "", false}, {0, "html", true}, {'h', "help", false}};

bool read(std::vector<std::string> words, CommandLine& line, std::string& error) {
    words.insert(words.begin(), "prog");
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(&w[0]);
    argv.push_back(nullptr);
    return readCommandLine((int)words.size(), argv.data(), "prog", SPECS, line, error);
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
    EXPECT_EQ(line.options[3].spec, 2u);
    EXPECT_EQ(line.options[3].value, "p.html");
    EXPECT_EQ(line.options[4].name, "-v");
    EXPECT_EQ(line.operands, (std::vector<std::string>{"a", "b", "-t", "--html=x"}));
    // A second reading starts afresh.
    ASSERT_TRUE(read({"-h", "c"}, line, error));
    EXPECT_EQ(line.options.size(), 1u);
    EXPECT_EQ(line.operands, std::vector<std::string>{"c"});
}

TEST(Options, RefusedForms) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-x"}, "unknown option '-x' (prog -h for help)"},
        {{"--bogus=1"}, "unknown option '--bogus' (prog -h for help)"},
        {{"a", "-t"}, "-t needs a value (prog -h for help)"},
        {{"--html"}, "--html needs a value (prog -h for help)"},
        {{"--help=yes"}, "unknown option '--help' (prog -h for help)"},
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
    for (const char* bad : {"", "0", "-1", "nan", "inf", "1e999", "x", " 1"}) {
        EXPECT_FALSE(realOption("p", {0, "-c", bad}, 0, true, real, error)) << bad;
        EXPECT_EQ(error, std::string("-c needs a number above 0, not '") + bad + "' (p -h for help)");
    }
}
