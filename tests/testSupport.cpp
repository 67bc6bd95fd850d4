#include "testSupport.h"

#include "spawnProcess.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zetest {

TempDir::TempDir() {
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/zetest.XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
    dir = buf.data();
}

TempDir::~TempDir() {
    removeTree(dir);
}

void removeTree(const std::string& path) {
    struct stat top;
    if (lstat(path.c_str(), &top) != 0) return;
    if (!S_ISDIR(top.st_mode)) {
        unlink(path.c_str());
        return;
    }
    if (DIR* d = opendir(path.c_str())) {
        std::vector<std::string> names;
        while (dirent* e = readdir(d))
            if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0) names.push_back(e->d_name);
        closedir(d);
        for (const std::string& name : names) {
            std::string child = path + "/" + name;
            struct stat st;
            // A file system mounted inside is left alone (its mount point
            // then stays too).
            if (lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_dev != top.st_dev)
                continue;
            removeTree(child);
        }
    }
    rmdir(path.c_str());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), (std::streamsize)bytes.size());
    if (!f) throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

bool fileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> listDir(const std::string& path) {
    std::vector<std::string> names;
    DIR* d = opendir(path.c_str());
    if (!d) return names;
    while (dirent* e = readdir(d)) {
        if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
            names.push_back(e->d_name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

RunResult run(const std::string& program, const std::vector<std::string>& args,
              const std::string& stdinText, const std::string& cwd) {
    // A program that exits without reading its input must not kill the test.
    signal(SIGPIPE, SIG_IGN);
    int inPipe[2], outPipe[2], errPipe[2];
    if (pipe(inPipe) || pipe(outPipe) || pipe(errPipe)) throw std::runtime_error("pipe failed");
    SpawnSetup setup;
    setup.in = inPipe[0];
    setup.out = outPipe[1];
    setup.err = errPipe[1];
    setup.closeInChild = {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]};
    setup.cwd = cwd;
    pid_t pid = spawnProgram(program, args, setup);
    if (pid < 0) {
        for (int fd : setup.closeInChild)
            close(fd);
        RunResult notStarted;
        notStarted.status = 127; // as a shell reports a program it cannot run
        return notStarted;
    }
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);

    RunResult r;
    size_t written = 0;
    int inFd = inPipe[1];
    if (stdinText.empty()) {
        close(inFd);
        inFd = -1;
    } else {
        fcntl(inFd, F_SETFL, O_NONBLOCK);
    }
    bool outOpen = true, errOpen = true;
    char buf[65536];
    while (outOpen || errOpen) {
        pollfd fds[3];
        int n = 0;
        if (outOpen) fds[n++] = {outPipe[0], POLLIN, 0};
        if (errOpen) fds[n++] = {errPipe[0], POLLIN, 0};
        if (inFd >= 0) fds[n++] = {inFd, POLLOUT, 0};
        if (poll(fds, n, -1) < 0) continue;
        for (int i = 0; i < n; i++) {
            if (!fds[i].revents) continue;
            if (fds[i].fd == inFd) {
                ssize_t w = write(inFd, stdinText.data() + written, stdinText.size() - written);
                if (w > 0) written += (size_t)w;
                if (w < 0 || written == stdinText.size()) {
                    close(inFd);
                    inFd = -1;
                }
                continue;
            }
            ssize_t got = read(fds[i].fd, buf, sizeof buf);
            if (got <= 0) {
                if (fds[i].fd == outPipe[0]) outOpen = false;
                else errOpen = false;
                continue;
            }
            (fds[i].fd == outPipe[0] ? r.out : r.err).append(buf, (size_t)got);
        }
    }
    if (inFd >= 0) close(inFd);
    close(outPipe[0]);
    close(errPipe[0]);
    int st = 0;
    waitpid(pid, &st, 0);
    if (WIFEXITED(st)) r.status = WEXITSTATUS(st);
    if (WIFSIGNALED(st)) r.signal = WTERMSIG(st);
    return r;
}

std::string zeStep5Path() { return ZESTEP5_BIN; }

RunResult runWithFileSizeLimit(long limitBytes, const std::string& program,
                               const std::vector<std::string>& args) {
    // An ignored signal stays ignored across exec.
    std::string script = "ulimit -f " + std::to_string(limitBytes / 512) +
                         " && trap '' XFSZ && exec \"$0\" \"$@\"";
    std::vector<std::string> shellArgs = {"-c", script, program};
    shellArgs.insert(shellArgs.end(), args.begin(), args.end());
    return run("/bin/sh", shellArgs);
}

SmallDisk::SmallDisk(const std::string& mountPoint, long sizeKiB) : point(mountPoint) {
    if (geteuid() != 0) {
        why = "mounting a tmpfs needs root";
        return;
    }
    mkdir(point.c_str(), 0755);
    RunResult r = run("/bin/mount", {"-t", "tmpfs", "-o", "size=" + std::to_string(sizeKiB) + "k",
                                     "tmpfs", point});
    isMounted = r.status == 0;
    if (!isMounted) why = "mount -t tmpfs failed: " + r.err;
}

SmallDisk::~SmallDisk() {
    if (isMounted) run("/bin/umount", {point});
}

namespace {

void collectFiles(const std::string& root, const std::string& rel,
                  std::map<std::string, std::string>& files) {
    std::string dir = rel.empty() ? root : root + "/" + rel;
    for (const std::string& name : listDir(dir)) {
        std::string relName = rel.empty() ? name : rel + "/" + name;
        struct stat st;
        if (lstat((root + "/" + relName).c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) collectFiles(root, relName, files);
        else if (S_ISREG(st.st_mode)) files[relName] = readFile(root + "/" + relName);
    }
}

} // namespace

std::map<std::string, std::string> snapshotFiles(const std::string& dir) {
    std::map<std::string, std::string> files;
    collectFiles(dir, "", files);
    return files;
}

bool isCharacterDevice(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

std::string programOnPath(const std::string& name) {
    const char* path = getenv("PATH");
    std::istringstream dirs(path ? path : "");
    std::string dir;
    while (std::getline(dirs, dir, ':'))
        if (!dir.empty() && access((dir + "/" + name).c_str(), X_OK) == 0) return dir + "/" + name;
    return "";
}

}  // namespace zetest
