// Helpers for tests that run the real programs on small project
// directories: temporary directories, file contents, and running a
// command with its standard output, standard error and exit status.
#ifndef ZE_TEST_SUPPORT_H
#define ZE_TEST_SUPPORT_H

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

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
bool isDirectory(const std::string& path);
// Names of the entries of a directory, sorted, without "." and "..".
std::vector<std::string> listDir(const std::string& path);

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

}  // namespace zetest

#endif
