#include "interruptSupport.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <set>
#include <stdexcept>

#include "spawnProcess.h"
#include "testSupport.h"

namespace zeinterrupt {

namespace {

const char* const INPUTS[] = {"info", "raw-bands", "traces", "norm-fac", "names"};

// Generous, for sanitized builds on a loaded machine; only a guard.
const std::chrono::seconds GUARD(120);

// Standard output of `gzip -dc path`, or a text no picture has when the
// file is not a complete compressed file.
std::string decompressed(const std::string& path) {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe failed");
    int devNull = open("/dev/null", O_WRONLY);
    zetest::SpawnSetup setup;
    setup.out = out[1];
    setup.err = devNull;
    setup.closeInChild = {out[0], out[1], devNull};
    setup.searchPath = true;
    pid_t pid = zetest::spawnProgram("gzip", {"-dc", path}, setup);
    close(devNull);
    if (pid < 0) {
        close(out[0]);
        close(out[1]);
        return "(not a complete compressed file)";
    }
    close(out[1]);
    std::string bytes;
    char buf[65536];
    ssize_t n;
    while ((n = read(out[0], buf, sizeof buf)) != 0) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        bytes.append(buf, (size_t)n);
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "(not a complete compressed file)";
    return bytes;
}

void collect(const std::string& root, const std::string& rel, std::vector<OutputFile>& files) {
    DIR* dir = opendir((root + "/" + rel).c_str());
    if (!dir) return;
    std::set<std::string> names;
    while (dirent* e = readdir(dir))
        if (strcmp(e->d_name, ".") && strcmp(e->d_name, "..")) names.insert(e->d_name);
    closedir(dir);
    for (const std::string& name : names) {
        std::string relName = rel.empty() ? name : rel + "/" + name;
        if (rel.empty() && std::find(std::begin(INPUTS), std::end(INPUTS), name) != std::end(INPUTS))
            continue;
        std::string path = root + "/" + relName;
        struct stat st;
        if (lstat(path.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            // A directory stands as an entry of its own: only Results is made.
            files.push_back({relName + "/", relName + "/", ""});
            collect(root, relName, files);
            continue;
        }
        OutputFile f;
        f.name = relName;
        f.key = relName;
        if (!S_ISREG(st.st_mode)) {
            f.bytes = "(not a regular file)";
        } else if (relName.size() > 3 && relName.compare(relName.size() - 3, 3, ".gz") == 0) {
            f.key = relName.substr(0, relName.size() - 3);
            f.bytes = decompressed(path);
        } else {
            f.bytes = zetest::readFile(path);
        }
        files.push_back(f);
    }
}

} // namespace

BackgroundRun::BackgroundRun(const std::string& program, const std::vector<std::string>& args,
                             const std::string& cwd) {
    signal(SIGPIPE, SIG_IGN);
    char errTemplate[] = "/tmp/zeinterrupt-err-XXXXXX";
    int errFd = mkstemp(errTemplate);
    if (errFd < 0) throw std::runtime_error("mkstemp failed");
    errPath = errTemplate;
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe failed");
    int devNull = open("/dev/null", O_RDONLY);
    zetest::SpawnSetup setup;
    setup.in = devNull;
    setup.out = out[1];
    setup.err = errFd;
    setup.closeInChild = {out[0], out[1], errFd, devNull};
    setup.cwd = cwd;
    setup.ownGroup = true;
    setup.defaultSignals = true;
    child = zetest::spawnProgram(program, args, setup);
    close(devNull);
    if (child < 0) throw std::runtime_error("cannot start " + program);
    close(out[1]);
    close(errFd);
    outFd = out[0];
}

BackgroundRun::~BackgroundRun() {
    if (child > 0) {
        kill(-child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    if (outFd >= 0) close(outFd);
    if (!errPath.empty()) unlink(errPath.c_str());
}

bool BackgroundRun::readMore() {
    if (outFd < 0) return false;
    auto end = std::chrono::steady_clock::now() + GUARD;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p = {outFd, POLLIN, 0};
        int ready = poll(&p, 1, (int)left.count());
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        char buf[4096];
        ssize_t n = read(outFd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            close(outFd);
            outFd = -1;
            return false;
        }
        for (ssize_t i = 0; i < n; i++)
            if (buf[i] == '\n') linesSeen++;
        output.append(buf, (size_t)n);
        return true;
    }
}

bool BackgroundRun::waitForLines(int lines) {
    while (linesSeen < lines)
        if (!readMore()) return false;
    return true;
}

void BackgroundRun::signalGroup(int sig) const {
    if (child > 0) kill(-child, sig);
}

void BackgroundRun::signalProgram(int sig) const {
    if (child > 0) kill(child, sig);
}

int BackgroundRun::finish() {
    while (readMore()) {
    }
    int status = 0;
    if (child > 0) {
        waitpid(child, &status, 0);
        child = -1;
    }
    errors = zetest::readFile(errPath);
    return status;
}

bool waitForFile(const std::string& path) {
    auto end = std::chrono::steady_clock::now() + GUARD;
    while (access(path.c_str(), F_OK) != 0) {
        if (std::chrono::steady_clock::now() > end) return false;
        usleep(2000);
    }
    return true;
}

bool waitUntilGone(const std::string& path) {
    auto end = std::chrono::steady_clock::now() + GUARD;
    while (access(path.c_str(), F_OK) == 0) {
        if (std::chrono::steady_clock::now() > end) return false;
        usleep(2000);
    }
    return true;
}

std::vector<OutputFile> projectOutputs(const std::string& project) {
    std::vector<OutputFile> files;
    collect(project, "", files);
    return files;
}

std::map<std::string, std::string> outputsByKey(const std::vector<OutputFile>& files) {
    std::map<std::string, std::string> byKey;
    for (const OutputFile& f : files)
        byKey[f.key] = f.bytes;
    return byKey;
}

std::vector<std::string> differences(const std::map<std::string, std::string>& reference,
                                     const std::vector<OutputFile>& trial) {
    std::vector<std::string> found;
    for (const OutputFile& f : trial) {
        auto it = reference.find(f.key);
        if (it == reference.end())
            found.push_back(f.name + ": not made by an undisturbed run");
        else if (it->second != f.bytes)
            found.push_back(f.name + ": differs (" + std::to_string(f.bytes.size()) + " bytes, not " +
                            std::to_string(it->second.size()) + ")");
    }
    return found;
}

void copyInputs(const std::string& project, const std::string& dir) {
    mkdir(dir.c_str(), 0777);
    for (const char* name : INPUTS)
        zetest::writeFile(dir + "/" + name, zetest::readFile(project + "/" + name));
}

std::string describe(int waitStatus) {
    if (WIFSIGNALED(waitStatus)) return "killed by signal " + std::to_string(WTERMSIG(waitStatus));
    return "exit status " + std::to_string(WEXITSTATUS(waitStatus));
}

} // namespace zeinterrupt
