// lumo_configure's start-up checks, the permission bits of its output, and
// read and write errors.
#include "configureRun.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

namespace {

class ConfigureFiles : public ::testing::Test {
  protected:
    zetest::TempDir dir;
};

TEST_F(ConfigureFiles, WrongArgumentCountPrintsUsage) {
    const std::string usage = "Usage : " + lumotest::configurePath() + " <input> <output>\n";
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {dir / "in"}, {dir / "in", dir / "out", dir / "more"}}) {
        zetest::RunResult r = lumotest::runConfigure(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, usage);
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(ConfigureFiles, EqualNamesAreRefusedAndTheFileIsKept) {
    zetest::writeFile(dir / "script", "@(#)Configuration:\n@(#)$K: v\n");
    zetest::RunResult r = lumotest::runConfigure({dir / "script", dir / "script"}, "x\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "input and output files must be different\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(zetest::readFile(dir / "script"), "@(#)Configuration:\n@(#)$K: v\n");
}

TEST_F(ConfigureFiles, SameFileUnderTwoNamesIsRefusedBeforeTruncation) {
    const std::string content = "@(#)Configuration:\n@(#)$K: v\n";
    zetest::writeFile(dir / "script", content);
    ASSERT_EQ(link((dir / "script").c_str(), (dir / "hardlink").c_str()), 0);
    ASSERT_EQ(symlink((dir / "script").c_str(), (dir / "symlink").c_str()), 0);
    struct Names {
        std::string input, output, cwd;
    } cases[] = {
        {dir / "script", dir / "hardlink", ""}, {dir / "hardlink", dir / "script", ""},
        {dir / "script", dir / "symlink", ""},  {dir / "symlink", dir / "script", ""},
        {"script", "./script", dir.path()},     {dir / "script", "script", dir.path()},
    };
    for (const Names& n : cases) {
        zetest::RunResult r = lumotest::runConfigure({n.input, n.output}, "x\n", n.cwd);
        EXPECT_EQ(r.status, 1) << n.input << " " << n.output;
        EXPECT_EQ(r.err, "input and output files must be different\n");
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(zetest::readFile(dir / "script"), content);
    }
}

TEST_F(ConfigureFiles, MissingInputIsReportedAndNoOutputMade) {
    zetest::RunResult r = lumotest::runConfigure({dir / "missing", dir / "out"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "Error opening input file " + (dir / "missing") + " (No such file or directory)\n\n");
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(zetest::fileExists(dir / "out"));
}

TEST_F(ConfigureFiles, OutputThatCannotBeOpenedIsReported) {
    zetest::writeFile(dir / "in", "text\n");
    ASSERT_EQ(mkdir((dir / "sub").c_str(), 0755), 0);
    struct Case {
        std::string output, reason;
    } cases[] = {
        {dir / "nodir/out", "No such file or directory"},
        {dir / "sub", "Is a directory"},
    };
    for (const Case& c : cases) {
        zetest::RunResult r = lumotest::runConfigure({dir / "in", c.output});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "Error opening output file " + c.output + " (" + c.reason + ")\n\n");
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(ConfigureFiles, OutputTakesTheInputsPermissionBits) {
    const std::string content = "#!/bin/sh\n# @(#)Configuration:\n# @(#)$K: v\necho $K\n";
    for (int mode : {0755, 0754, 0711, 0700, 0640, 0600, 0444, 04755}) {
        zetest::writeFile(dir / "in", content);
        ASSERT_EQ(chmod((dir / "in").c_str(), (mode_t)mode), 0);
        // An existing output keeps nothing of its own.
        zetest::writeFile(dir / "out", "older and longer content than the input has");
        ASSERT_EQ(chmod((dir / "out").c_str(), 0666), 0);
        zetest::RunResult r = lumotest::runConfigure({dir / "in", dir / "out"}, "w\n");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(lumotest::permissionBits(dir / "out"), mode) << std::oct << mode;
        EXPECT_EQ(zetest::readFile(dir / "out"),
                  "#!/bin/sh\n# @(#)Configuration:\n# @(#)$K: w\necho $K\n");
        ASSERT_EQ(unlink((dir / "out").c_str()), 0);
        ASSERT_EQ(unlink((dir / "in").c_str()), 0);
    }
}

TEST_F(ConfigureFiles, ReadErrorFailsAndLeavesNoOutput) {
    // A directory opens for reading, but reading from it fails.
    ASSERT_EQ(mkdir((dir / "indir").c_str(), 0751), 0);
    ASSERT_EQ(chmod((dir / "indir").c_str(), 0751), 0);
    zetest::RunResult r = lumotest::runConfigure({dir / "indir", dir / "out"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error whilst reading input file " + (dir / "indir") + " (Is a directory)\n");
    EXPECT_EQ(r.out, lumotest::expectedBanner());
    EXPECT_FALSE(zetest::fileExists(dir / "out"));
}

TEST_F(ConfigureFiles, WriteErrorFailsAndRemovesThePartialOutput) {
    // A file size limit of one 512-byte block makes the output's writes
    // fail; the signal such a write raises is ignored so the write reports.
    // Small inputs fail only when the last buffered characters go out,
    // large ones while copying.
    const std::string script = "ulimit -f 1 && trap '' XFSZ && exec \"$0\" \"$@\"";
    for (int lines : {100, 5000}) {
        std::string input;
        for (int i = 0; i < lines; i++)
            input += "line " + std::to_string(i) + "\n";
        zetest::writeFile(dir / "in", input);
        ASSERT_EQ(chmod((dir / "in").c_str(), 0750), 0);
        zetest::RunResult r = lumotest::runFixed(
            "/bin/sh", {"-c", script, lumotest::configurePath(), dir / "in", dir / "out"});
        EXPECT_EQ(r.status, 1) << lines;
        EXPECT_EQ(r.err, "Error whilst writing output file (File too large)\n");
        EXPECT_FALSE(zetest::fileExists(dir / "out")) << lines;
    }
}

// A script of about 75 KiB, as a real configuration script can be.
std::string largeScript() {
    std::string text = "#!/bin/sh\n# @(#)Configuration:\n# @(#)$K: v\n";
    for (int i = 0; text.size() < 75 * 1024; i++)
        text += "echo line " + std::to_string(i) + "\n";
    return text;
}

TEST_F(ConfigureFiles, FullDeviceFailsAndTheDeviceAndLinkStay) {
    zetest::writeFile(dir / "in", largeScript());
    ASSERT_EQ(symlink("/dev/full", (dir / "full").c_str()), 0);
    struct stat before;
    ASSERT_EQ(stat("/dev/full", &before), 0);
    for (const std::string& out : {std::string("/dev/full"), dir / "full"}) {
        zetest::RunResult r = lumotest::runConfigure({dir / "in", out});
        EXPECT_EQ(r.status, 1) << out;
        EXPECT_EQ(r.err, "Error whilst writing output file (No space left on device)\n") << out;
    }
    struct stat after;
    ASSERT_EQ(stat("/dev/full", &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_mode, before.st_mode);
    struct stat link;
    ASSERT_EQ(lstat((dir / "full").c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
}

TEST_F(ConfigureFiles, SmallDiskFailsAndLeavesNoPartialCopy) {
    std::string script = largeScript();
    zetest::writeFile(dir / "in", script);
    zetest::SmallDisk disk(dir / "disk", 32);
    if (!disk.mounted()) GTEST_SKIP() << "no tmpfs: " << disk.reason();
    zetest::RunResult r = lumotest::runConfigure({dir / "in", dir / "disk/out"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error whilst writing output file (No space left on device)\n");
    EXPECT_TRUE(zetest::listDir(dir / "disk").empty());
}

// A device node of the test's own, equal to /dev/null: the copy succeeds
// and the node keeps its permission bits.
TEST_F(ConfigureFiles, DeviceOutputKeepsItsPermissionBits) {
    if (mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "mknod needs root";
    ASSERT_EQ(chmod((dir / "null").c_str(), 0666), 0);
    zetest::writeFile(dir / "in", "#!/bin/sh\n");
    ASSERT_EQ(chmod((dir / "in").c_str(), 0700), 0);
    zetest::RunResult r = lumotest::runConfigure({dir / "in", dir / "null"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lumotest::permissionBits(dir / "null"), 0666);
}

} // namespace
