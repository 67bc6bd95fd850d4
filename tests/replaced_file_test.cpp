// The file replaced only when complete: through links to what they point
// to, in place where the target is no regular file, and never a temporary
// file left behind, also when the process ends by exit().
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "testSupport.h"
#include "zeReplacedFile.h"

using namespace zetest;

namespace {

bool writeThrough(const std::string& target, const std::string& bytes, std::string& error) {
    ReplacedFile out;
    return out.open(target, error) && out.commit(bytes, error);
}

TEST(ReplacedFile, ALinkStaysAndWhatItPointsToIsWrittenEvenWhenMissing) {
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

TEST(ReplacedFile, ADeviceIsWrittenInPlace) {
    std::string error;
    EXPECT_TRUE(writeThrough("/dev/null", "bytes", error)) << error;
    EXPECT_TRUE(isCharacterDevice("/dev/null"));
    EXPECT_FALSE(writeThrough("/dev/full", "bytes", error));
    EXPECT_EQ(error, "couldn't write '/dev/full': No space left on device");
    EXPECT_TRUE(isCharacterDevice("/dev/full"));
}

TEST(ReplacedFile, ExitRemovesATemporaryFileNotCommitted) {
    TempDir t;
    writeFile(t / "table", "previous\n");
    pid_t child = fork();
    if (child == 0) {
        // A reader's fatal error ends the process with the file still open
        // and never destroyed (kept where a leak check finds it).
        static ReplacedFile* out = new ReplacedFile;
        std::string error;
        if (!out->open(t / "table", error) || listDir(t.path()).size() != 2) _exit(1);
        exit(3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(listDir(t.path()), std::vector<std::string>{"table"});
    EXPECT_EQ(readFile(t / "table"), "previous\n");
}

} // namespace
