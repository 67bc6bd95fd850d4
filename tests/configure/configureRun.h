// Running lumo_configure from the tests: with answers piped to standard
// input, or at a real (pseudo-)terminal driven key by key.
#ifndef LUMO_CONFIGURE_RUN_H
#define LUMO_CONFIGURE_RUN_H

#include "testSupport.h"

#include <sys/types.h>

#include <string>
#include <vector>

namespace lumotest {

// The lumo_configure binary under test.
std::string configurePath();

// The banner and instructions, as lumo_configure prints them before the
// first prompt.
std::string expectedBanner();

// Runs program like zetest::run, with the terminal type, locale and
// readline init file fixed so that runs do not depend on the environment
// of the test.
zetest::RunResult runFixed(const std::string& program, const std::vector<std::string>& args,
                           const std::string& stdinText = "", const std::string& cwd = "");

// Runs lumo_configure with args, answers piped to standard input.
zetest::RunResult runConfigure(const std::vector<std::string>& args,
                               const std::string& answers = "", const std::string& cwd = "");

// Permission bits of a file, or -1 when it cannot be examined.
int permissionBits(const std::string& path);

// lumo_configure run on a pseudo-terminal. Every wait has a deadline after
// which the program is killed, so a test can never hang.
class TerminalSession {
  public:
    // ignoreHangUp: the program starts with SIGHUP ignored, as under nohup
    // or a shell that traps it with ''.
    explicit TerminalSession(const std::vector<std::string>& args, bool ignoreHangUp = false);
    ~TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    // Reads the terminal until text appears after the previous match;
    // false on end of output or when the deadline passes.
    bool waitFor(const std::string& text);
    // Sends keys as if typed.
    void type(const std::string& keys);
    // Reads the terminal to its end and returns the exit status, 128 + N
    // when signal N ended the program, or -1.
    int finish();
    // Closes the terminal, as closing its window does, and returns the
    // exit status as finish() does.
    int hangUp();
    // Sends sig to the program.
    void signal(int sig);
    // The terminal's local modes (c_lflag: ECHO, ICANON, ...), or -1.
    long localModes() const;
    // Everything the program has written to the terminal so far.
    const std::string& screen() const { return shown; }

  private:
    bool readSome(); // false at end of output or deadline
    void killChild();
    int collect(); // waits for the program's end


    int master = -1;
    pid_t child = -1;
    std::string shown;
    size_t searchFrom = 0;
};

} // namespace lumotest

#endif
