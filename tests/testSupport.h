// Helpers for tests that run the real programs on small project
// directories: temporary directories, file contents, and running a
// command with its standard output, standard error and exit status.
#ifndef ZE_TEST_SUPPORT_H
#define ZE_TEST_SUPPORT_H

#include <map>
#include <string>
#include <vector>

namespace zetest {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes out of scope.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return dir; }
    std::string operator/(const std::string& name) const { return dir + "/" + name; }

  private:
    std::string dir;
};

// Removes path and, for a directory, everything below it, in this process
// (no rm to start). Symbolic links are removed, never followed; a file
// system mounted below is not entered.
void removeTree(const std::string& path);

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
bool isDirectory(const std::string& path);
// Names of the entries of a directory, sorted, without "." and "..".
std::vector<std::string> listDir(const std::string& path);
// The path of an executable `name` found on PATH, or empty.
std::string programOnPath(const std::string& name);

struct RunResult {
    int status = -1;      // exit status, or -1 when ended by a signal
    int signal = 0;       // the signal that ended it, or 0
    std::string out;      // standard output
    std::string err;      // standard error
};

// Runs program with args (no shell), in directory cwd when not empty,
// feeding stdinText on standard input.
RunResult run(const std::string& program, const std::vector<std::string>& args,
              const std::string& stdinText = "", const std::string& cwd = "");

// The zeStep5 binary under test.
std::string zeStep5Path();

// Runs program like run(), under a file size limit of limitBytes (rounded
// down to the shell's 512-byte blocks) with SIGXFSZ ignored, so that a
// write beyond the limit fails with EFBIG as on a disk that is full.
RunResult runWithFileSizeLimit(long limitBytes, const std::string& program,
                               const std::vector<std::string>& args);

// A small tmpfs mounted on an empty directory of the test's own for the
// object's lifetime: the most realistic full disk. Needs root; mounted()
// is false (and reason() says why) where it cannot be had.
class SmallDisk {
  public:
    SmallDisk(const std::string& mountPoint, long sizeKiB);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return isMounted; }
    const std::string& reason() const { return why; }

  private:
    std::string point;
    bool isMounted = false;
    std::string why;
};

// Relative path -> bytes of every regular file under dir, subdirectories
// included.
std::map<std::string, std::string> snapshotFiles(const std::string& dir);

// True when path exists and is a character device (such as /dev/full).
bool isCharacterDevice(const std::string& path);

}  // namespace zetest

#endif
