// zeCompare's command line through the shared option reader: the forms
// it takes give the same table as the spaced ones, and the forms it
// refuses give one usage ERROR line and write nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compareTestSupport.h"

using namespace zetest;

namespace {

const char* BANDS = "         bA 3 5\n10\n20\n30\n-1\n"
                    "         bB 3 5\n11\n21\n31\n-1\n"
                    "         bC 2 5\n900\n2000\n-1\n";

} // namespace

TEST(CompareOptions, AttachedValuesMeanWhatSpacedOnesDo) {
    TempDir t;
    std::string bands = t / "5.bands";
    writeFile(bands, BANDS);
    RunResult spaced = runCompare({"-t", "3", "-c", "1", "-j", "2", "--part", "1/1", bands});
    ASSERT_EQ(spaced.status, 0) << spaced.err;
    EXPECT_NE(spaced.out.find("bA"), std::string::npos);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-t3", "-c1", "-j2", "--part=1/1", bands},
          {bands, "-j", "2", "-t", "3", "--part", "1/1", "-c", "1"},
          {"-t", "3", "-c", "1", "-j2", "--part=1/1", "--", bands}}) {
        RunResult r = runCompare(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, spaced.out);
    }
}

TEST(CompareOptions, RefusedFormsAreOneUsageError) {
    TempDir t;
    std::string bands = t / "5.bands";
    writeFile(bands, BANDS);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--html=", bands}, "--html needs a file name"},
        {{"--ht", t / "p.html", bands}, "unknown option '--ht'"},
        {{"--par=1/2", bands}, "unknown option '--par'"},
        {{"--help=1"}, "--help takes no value"},
        {{"-t", " 3", bands}, "-t needs a whole number from 1 to 2299, not ' 3'"},
        {{"-c", "1e999", bands}, "-c needs a number of 0 or more, not '1e999'"},
        {{"--part", "2147483648/2147483649", bands},
         "--part needs K/N, whole numbers with 1 <= K <= N, not '2147483648/2147483649'"},
        {{"--part", "1/\x1b[2J", bands},
         "--part needs K/N, whole numbers with 1 <= K <= N, not '1/\\x1B[2J'"},
        {{"--part=1/2", "--html", t / "p.html", bands},
         "--html cannot be used with --part: a part scores only some of the pairs"},
        {{"--", "-t"}, "couldn't read '-t': No such file or directory"},
    };
    for (const auto& [args, what] : cases) {
        RunResult r = runCompare(args);
        EXPECT_EQ(r.status, 1) << what;
        EXPECT_EQ(r.out, "") << what;
        bool usage = what.rfind("couldn't", 0) != 0;
        EXPECT_EQ(r.err, "ERROR: " + what + (usage ? " (zeCompare -h for help)" : "") + "\n");
        EXPECT_FALSE(fileExists(t / "p.html")) << what;
    }
}

TEST(CompareOptions, HelpThatCannotBeWrittenFails) {
    RunResult r = run("/bin/sh", {"-c", std::string(ZECOMPARE_BIN) + " --help > /dev/full"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: couldn't write 'standard output': No space left on device\n");
}
