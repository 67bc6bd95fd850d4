// The command line and the step driver, through the real zeStep5 binary.
#include <gtest/gtest.h>

#include <string>

#include "testSupport.h"

namespace {

using namespace zetest;

const std::string usage =
    "USAGE:  zeStep5 luprojname mapping-projname\n"
    " -h          help\n"
    " -v          verbose debugging output\n";

RunResult step5(const std::vector<std::string>& args, const std::string& cwd = "") {
    return run(zeStep5Path(), args, "", cwd);
}

TEST(CommandLine, NoArgumentsDoesNothing) {
    RunResult r = step5({});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(CommandLine, HelpFlagsPrintUsageAndSucceed) {
    for (auto args : {std::vector<std::string>{"-h"}, {"-hv"}, {"-v", "-h"}}) {
        RunResult r = step5(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, usage);
        EXPECT_EQ(r.err, "");
    }
}

TEST(CommandLine, ErrorsPrintTheirMessageAndUsageAndExitOne) {
    struct Case {
        std::vector<std::string> args;
        std::string out, err;
    };
    const Case cases[] = {
        {{"proj"}, usage, "Argument expected.\n"},
        {{"proj", "-v"}, usage, "Flag v not expected.\n"},
        {{"--"}, "Flag '-' is not recognised\n" + usage, ""},
        {{"-"}, std::string("Flag '") + '\0' + "' is not recognised\n" + usage, ""},
        {{"-x"}, "Flag 'x' is not recognised\n" + usage, ""},
        {{"-vq"}, "Flag 'q' is not recognised\n" + usage, ""},
    };
    for (const Case& c : cases) {
        RunResult r = step5(c.args);
        EXPECT_EQ(r.status, 1) << c.args[0];
        EXPECT_EQ(r.out, c.out) << c.args[0];
        EXPECT_EQ(r.err, c.err) << c.args[0];
    }
}

std::string infoText(const std::string& entries) { return "VERSION 1.0\nINFO\n" + entries; }

TEST(StepDriver, InfoOnlyProjectRunsUpToTheRawBands) {
    TempDir t;
    std::string proj = t / "gel";
    run("/bin/mkdir", {"-p", proj + "/Results/old"});
    writeFile(proj + "/Results/stale", "x");
    writeFile(proj + "/info", infoText("lanenumber = 2\ngelnumber = 17\n"));
    RunResult r = step5({proj, "map"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "Load project\n"
                     "band filename = " + proj + "/17.bands\n"
                     "gel  filename = " + proj + "/map.17.gel\n"
                     "Loading raw bands\n");
    EXPECT_EQ(r.err, "ERROR: loading raw-bands\n");
    EXPECT_TRUE(isDirectory(proj + "/Results"));
    EXPECT_TRUE(listDir(proj + "/Results").empty());
}

TEST(StepDriver, EmptyGelNumberGivesBareExtensions) {
    TempDir t;
    writeFile(t / "info", infoText("lanenumber = 1\n"));
    RunResult r = step5({t.path(), "m"});
    EXPECT_NE(r.out.find("band filename = " + t.path() + "/.bands\n"), std::string::npos);
    EXPECT_NE(r.out.find("gel  filename = " + t.path() + "/m..gel\n"), std::string::npos);
}

TEST(StepDriver, MissingInfoEndsTheStepButNotTheRun) {
    TempDir t;
    std::string second = t / "second";
    run("/bin/mkdir", {second});
    writeFile(second + "/info", infoText("gelnumber = 5\n"));
    RunResult r = step5({"-h", t / "first", "m1", second, "m2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "Load project\n"
                     "Load project\n"
                     "band filename = " + second + "/5.bands\n"
                     "gel  filename = " + second + "/m2.5.gel\n"
                     "Loading raw bands\n" + usage);
    EXPECT_EQ(r.err, "ERROR: failed to load project file\nERROR: loading raw-bands\n");
    EXPECT_FALSE(fileExists(t / "first/Results"));
}

TEST(StepDriver, UnusableGeometryEndsTheStepBeforeResultsAreTouched) {
    for (std::string entries : {"lanenumber = -1\n", "dyenumber = 0\n", "lanenumber = 1000000\n",
                                "outputxsize = 100001\n", "outputysize = 2000000000\n",
                                "lanenumber = 10001\n", "gelnumber = ../../escaped\n"}) {
        TempDir t;
        run("/bin/mkdir", {t / "Results"});
        writeFile(t / "Results/keep", "x");
        writeFile(t / "info", infoText(entries));
        RunResult r = step5({t.path(), "m"});
        EXPECT_EQ(r.status, 1) << entries;
        EXPECT_EQ(r.out, "Load project\n") << entries;
        EXPECT_EQ(r.err.rfind("ERROR: ", 0), 0u) << entries;
        EXPECT_TRUE(fileExists(t / "Results/keep")) << entries;
    }
}

// Pictures are as wide as outputxsize and as tall as the lane strips allow:
// the step refuses sizes whose pictures would fill the disk.
TEST(StepDriver, PicturesThatWouldFillTheDiskEndTheStep) {
    TempDir t;
    writeFile(t / "info", infoText("lanenumber = 100\noutputxsize = 100000\noutputysize = 100000\n"));
    writeFile(t / "raw-bands", "BANDS none\n");
    writeFile(t / "traces", "WIDTH 1\nROWS 20000\nfirst\nsecond\n");
    RunResult r = step5({t.path(), "m"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: gel strip pictures of 100000 x 19998 pixels for 100 samples would "
                     "take more than 4 GiB\n");
    EXPECT_EQ(r.out.find("Starting to read"), std::string::npos);
}

// Project directories whose names mean something to the shell are removed
// and recreated as they stand; nothing beside them is touched.
TEST(StepDriver, ResultsDirectoryOfAnyNameIsRecreatedSafely) {
    const char* names[] = {"with blank", "quote'in", "semi;touch pwned", "$(touch pwned)",
                           "`touch pwned`", "star*", "new\nline"};
    for (const char* name : names) {
        TempDir t;
        std::string proj = t / name;
        run("/bin/mkdir", {"-p", proj + "/Results"});
        writeFile(proj + "/Results/stale", "x");
        writeFile(proj + "/info", infoText("lanenumber = 1\n"));
        RunResult r = run(zeStep5Path(), {name, "m"}, "", t.path());
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_TRUE(isDirectory(proj + "/Results")) << name;
        EXPECT_TRUE(listDir(proj + "/Results").empty()) << name;
        EXPECT_EQ(listDir(t.path()), std::vector<std::string>{name}) << name;
    }
}

}  // namespace
