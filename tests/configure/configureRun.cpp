#include "configureRun.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

namespace lumotest {

namespace {

// Generous, for sanitized builds on a loaded machine; only a guard.
const std::chrono::seconds DEADLINE(60);

void fixEnvironment() {
    setenv("TERM", "dumb", 1);
    setenv("INPUTRC", "/dev/null", 1);
    setenv("LC_ALL", "C", 1);
}

} // namespace

std::string configurePath() {
    return LUMO_CONFIGURE_BIN;
}

std::string expectedBanner() {
    const std::string title = "lumo_configure 1.0 (lumo-help@gel-lab.example.org)";
    return "\n\n  " + title + "\n  " + std::string(title.size(), '*') +
           "\n\nFor use with lumo 3.10 or higher\n\n"
           "\n\n"
           "Keyword/value pairs are presented in turn\n"
           "just hit enter if value is OK otherwise enter new command\n"
           "To disable a command enter one or more spaces\n"
           "\n\n";
}

zetest::RunResult runFixed(const std::string& program, const std::vector<std::string>& args,
                           const std::string& stdinText, const std::string& cwd) {
    fixEnvironment();
    return zetest::run(program, args, stdinText, cwd);
}

zetest::RunResult runConfigure(const std::vector<std::string>& args, const std::string& answers,
                               const std::string& cwd) {
    return runFixed(configurePath(), args, answers, cwd);
}

int permissionBits(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return -1;
    return (int)(st.st_mode & 07777);
}

TerminalSession::TerminalSession(const std::vector<std::string>& args, bool ignoreHangUp) {
    fixEnvironment();
    std::string program = configurePath();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    struct winsize size = {};
    size.ws_row = 24;
    size.ws_col = 200;
    child = forkpty(&master, nullptr, nullptr, &size);
    if (child == 0) {
        if (ignoreHangUp) ::signal(SIGHUP, SIG_IGN);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
}

TerminalSession::~TerminalSession() {
    killChild();
    if (master >= 0) close(master);
}

void TerminalSession::killChild() {
    if (child <= 0) return;
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    child = -1;
}

bool TerminalSession::readSome() {
    if (master < 0) return false;
    auto end = std::chrono::steady_clock::now() + DEADLINE;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            killChild();
            return false;
        }
        pollfd fd = {master, POLLIN, 0};
        int ready = poll(&fd, 1, (int)left.count());
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        char buf[4096];
        ssize_t got = read(master, buf, sizeof buf);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false; // the program has closed the terminal
        shown.append(buf, (size_t)got);
        return true;
    }
}

bool TerminalSession::waitFor(const std::string& text) {
    for (;;) {
        size_t at = shown.find(text, searchFrom);
        if (at != std::string::npos) {
            searchFrom = at + text.size();
            return true;
        }
        if (!readSome()) return false;
    }
}

void TerminalSession::type(const std::string& keys) {
    size_t sent = 0;
    while (sent < keys.size()) {
        ssize_t n = write(master, keys.data() + sent, keys.size() - sent);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        sent += (size_t)n;
    }
}

int TerminalSession::finish() {
    while (readSome()) {
    }
    return collect();
}

int TerminalSession::hangUp() {
    if (master >= 0) close(master);
    master = -1;
    return collect();
}

int TerminalSession::collect() {
    if (child <= 0) return -1;
    // The terminal closes as the program exits; the deadline still guards
    // a program that would close it and go on running.
    auto end = std::chrono::steady_clock::now() + DEADLINE;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            killChild();
            return -1;
        }
        poll(nullptr, 0, 10);
    }
    child = -1;
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void TerminalSession::signal(int sig) {
    if (child > 0) kill(child, sig);
}

long TerminalSession::localModes() const {
    // The master reports the settings of the terminal the program uses.
    struct termios modes;
    if (master < 0 || tcgetattr(master, &modes) != 0) return -1;
    return (long)modes.c_lflag;
}

} // namespace lumotest
