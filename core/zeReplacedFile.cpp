#include "zeReplacedFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "zeError.h"
#include "zeSignalCleanup.h"
#include "zeWriteCheck.h"

namespace {

// The file a target names: through a symbolic link to what it points to.
std::string fileReplaced(const std::string& target) {
    struct stat st;
    if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    char* resolved = realpath(target.c_str(), nullptr);
    if (!resolved) return target; // a dangling link: rename replaces the link
    std::string path = resolved;
    free(resolved);
    return path;
}

std::string couldNotWrite(const std::string& target, int err) {
    return withReason("couldn't write '" + target + "'", err);
}

} // namespace

bool ReplacedFile::open(const std::string& path, std::string& error) {
    discard();
    target = path;
    struct stat st;
    if (stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            error = couldNotWrite(target, EISDIR);
            return false;
        }
        if (!S_ISREG(st.st_mode)) {
            // A device or a pipe: there is nothing to rename over.
            errno = 0;
            stream = fopen(path.c_str(), "wb");
            if (stream) return true;
            error = couldNotWrite(target, writeErrorNumber());
            return false;
        }
    }
    replaced = fileReplaced(path);
    size_t slash = replaced.rfind('/');
    std::string dir = slash == std::string::npos ? "" : replaced.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? replaced : replaced.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = dir + name + "." + std::to_string(getpid()) + "-" + std::to_string(attempt) +
                    ".part";
        // Listed as an output before it exists, and no ending signal comes
        // in between.
        sigset_t cleanup, before;
        sigemptyset(&cleanup);
        addCleanupSignals(&cleanup);
        sigprocmask(SIG_BLOCK, &cleanup, &before);
        beginOutput(temporary);
        // The mode the target itself would be created with.
        int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        int err = errno;
        sigprocmask(SIG_SETMASK, &before, nullptr);
        if (fd >= 0) {
            stream = fdopen(fd, "wb");
            if (stream) return true;
            err = errno;
            close(fd);
            removeIfRegularFile(temporary.c_str());
        }
        endOutput(temporary);
        if (err != EEXIST) {
            temporary.clear();
            error = couldNotWrite(target, err);
            return false;
        }
    }
    temporary.clear();
    error = couldNotWrite(target, EEXIST);
    return false;
}

bool ReplacedFile::commit(const std::string& bytes, std::string& error) {
    if (!stream) {
        error = couldNotWrite(target, EBADF);
        return false;
    }
    errno = 0;
    bool written = fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size() &&
                   fflush(stream) == 0;
    int err = writeErrorNumber();
    if (fclose(stream) != 0 && written) {
        written = false;
        err = writeErrorNumber();
    }
    stream = nullptr;
    if (written && !temporary.empty() && rename(temporary.c_str(), replaced.c_str()) != 0) {
        written = false;
        err = writeErrorNumber();
    }
    if (!written) {
        error = couldNotWrite(target, err);
        discard();
        return false;
    }
    if (!temporary.empty()) endOutput(temporary);
    temporary.clear();
    return true;
}

void ReplacedFile::discard() {
    if (stream) fclose(stream);
    stream = nullptr;
    if (temporary.empty()) return;
    removeIfRegularFile(temporary.c_str());
    endOutput(temporary);
    temporary.clear();
}

ReplacedFile::~ReplacedFile() {
    discard();
}
