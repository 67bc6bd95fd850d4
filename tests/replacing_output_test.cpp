// The output that replaces its file only when complete: through links to
// what they point to, in place where the target is no regular file, the
// previous file kept whole when a write fails, and never a temporary file
// left behind, also when the process ends by exit().
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "testSupport.h"
#include "zeWriteCheck.h"

using namespace zetest;

namespace {

bool writeThrough(const std::string& target, const std::string& bytes, std::string& error) {
    CheckedOutput out = CheckedOutput::replacing(target, OnWriteFailure::Quiet);
    bool written = out.finishWith(bytes);
    error = written ? "" : out.failureText();
    return written;
}

TEST(ReplacingOutput, ALinkStaysAndWhatItPointsToIsWrittenEvenWhenMissing) {
    TempDir t;
    ASSERT_EQ(mkdir((t / "sub").c_str(), 0777), 0);
    // A relative link is read from its own directory, and a chain of links
    // is followed to its end.
    ASSERT_EQ(symlink("sub/next", (t / "page").c_str()), 0);
    ASSERT_EQ(symlink("missing", (t / "sub/next").c_str()), 0);
    std::string error;
    ASSERT_TRUE(writeThrough(t / "page", "new\n", error)) << error;
    EXPECT_EQ(readFile(t / "sub/missing"), "new\n");
    struct stat st;
    ASSERT_EQ(lstat((t / "page").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(listDir(t.path()), (std::vector<std::string>{"page", "sub"}));
    EXPECT_EQ(listDir(t / "sub"), (std::vector<std::string>{"missing", "next"}));

    ASSERT_EQ(symlink("loop", (t / "loop").c_str()), 0);
    EXPECT_FALSE(writeThrough(t / "loop", "x", error));
    EXPECT_EQ(error, "couldn't write '" + t / "loop" + "': Too many levels of symbolic links");
}

TEST(ReplacingOutput, ADeviceIsWrittenInPlace) {
    std::string error;
    EXPECT_TRUE(writeThrough("/dev/null", "bytes", error)) << error;
    EXPECT_TRUE(isCharacterDevice("/dev/null"));
    EXPECT_FALSE(writeThrough("/dev/full", "bytes", error));
    EXPECT_EQ(error, "couldn't write '/dev/full': No space left on device");
    EXPECT_TRUE(isCharacterDevice("/dev/full"));
}

TEST(ReplacingOutput, ExitRemovesATemporaryFileNotCommitted) {
    TempDir t;
    writeFile(t / "table", "previous\n");
    pid_t child = fork();
    if (child == 0) {
        // A reader's fatal error ends the process with the file still open
        // and never destroyed (kept where a leak check finds it).
        static CheckedOutput* out =
            new CheckedOutput(CheckedOutput::replacing(t / "table", OnWriteFailure::Quiet));
        if (!out->isOpen() || listDir(t.path()).size() != 2) _exit(1);
        exit(3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(listDir(t.path()), std::vector<std::string>{"table"});
    EXPECT_EQ(readFile(t / "table"), "previous\n");
}

TEST(ReplacingOutput, AFailedWriteLeavesThePreviousFileWhole) {
    TempDir t;
    writeFile(t / "table", "previous\n");
    ASSERT_EQ(chmod((t / "table").c_str(), 0640), 0);
    EXPECT_EXIT(
        {
            // The file system refuses the new file's bytes past the first few.
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit;
            limit.rlim_cur = limit.rlim_max = 4;
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(2);
            std::string error;
            // (Its standard error is a file too: the test reads an exit status.)
            bool written = writeThrough(t / "table", std::string(100000, 'x'), error);
            _exit(!written && error == "couldn't write '" + t / "table" + "': File too large" ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(listDir(t.path()), std::vector<std::string>{"table"});
    EXPECT_EQ(readFile(t / "table"), "previous\n");

    // A complete one takes the old one's place and its permission bits.
    std::string error;
    ASSERT_TRUE(writeThrough(t / "table", "new\n", error)) << error;
    EXPECT_EQ(readFile(t / "table"), "new\n");
    struct stat st;
    ASSERT_EQ(stat((t / "table").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(listDir(t.path()), std::vector<std::string>{"table"});
}

} // namespace
