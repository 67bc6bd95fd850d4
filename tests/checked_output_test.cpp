// The one checked output: a failure reports the error number of the
// failing call, removes only the regular file it was writing, and either
// returns false or ends the process after removing every unfinished output.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "testSupport.h"
#include "zeWriteCheck.h"

using namespace zetest;

TEST(CheckedOutput, ReturnsFalseAndLeavesALinkedDeviceAlone) {
    TempDir t;
    std::string link = t / "page.html";
    ASSERT_EQ(symlink("/dev/full", link.c_str()), 0);
    testing::internal::CaptureStderr();
    CheckedOutput out = CheckedOutput::file(link, OnWriteFailure::ReturnFalse);
    EXPECT_TRUE(out.write("<html>"));
    EXPECT_FALSE(out.finish());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR: couldn't write '" + link + "': No space left on device\n");
    char target[16] = {};
    EXPECT_EQ(readlink(link.c_str(), target, sizeof target - 1), 9);
    forgetOutputs();
}

TEST(CheckedOutput, EndingTheProcessRemovesEveryUnfinishedOutput) {
    TempDir t;
    std::string earlier = t / "earlier.bands", done = t / "done.bands";
    writeFile(earlier, "half");
    writeFile(done, "whole");
    EXPECT_EXIT(
        {
            beginOutput(earlier);
            beginOutput(done);
            endOutput(done);
            CheckedOutput::file(t / "missing/page.html", OnWriteFailure::EndProcess);
        },
        testing::ExitedWithCode(1),
        "ERROR: couldn't write '" + t / "missing/page.html" + "': No such file or directory");
    EXPECT_FALSE(fileExists(earlier));
    EXPECT_TRUE(fileExists(done));
}

TEST(CheckedOutput, StandardOutputIsNeverRemovedUnderItsLabel) {
    TempDir t;
    // A file that happens to carry the label's name in the working directory.
    std::string namesake = t / "standard output";
    writeFile(namesake, "keep");
    EXPECT_EXIT(
        {
            if (chdir(t.path().c_str()) != 0 || !freopen("/dev/full", "w", stdout)) _exit(2);
            CheckedOutput out = CheckedOutput::standardOutput("standard output", OnWriteFailure::EndProcess);
            out.write("clone1\tclone2\n");
            out.finish();
        },
        testing::ExitedWithCode(1), "ERROR: couldn't write 'standard output': No space left on device");
    EXPECT_EQ(readFile(namesake), "keep");
}

// With a buffer smaller than the bytes written, the write hands them on
// at once, so a failure shows there rather than when the file is closed.
TEST(CheckedOutput, FailureShowsAtTheWriteThatHandsBytesOn) {
    TempDir t;
    std::string link = t / "bands";
    ASSERT_EQ(symlink("/dev/full", link.c_str()), 0);
    std::vector<char> buffer(4);
    testing::internal::CaptureStderr();
    CheckedOutput out = CheckedOutput::file(link, OnWriteFailure::ReturnFalse);
    out.setBuffer(buffer.data(), buffer.size());
    EXPECT_FALSE(out.write("abcdefgh"));
    EXPECT_EQ(out.errorNumber(), ENOSPC);
    EXPECT_FALSE(out.write("more"));
    EXPECT_FALSE(out.finish());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR: couldn't write '" + link + "': No space left on device\n");
    forgetOutputs();
}
