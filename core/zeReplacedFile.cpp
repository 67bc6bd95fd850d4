#include "zeReplacedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "zeError.h"
#include "zeOutputRegistry.h"

namespace {

// As many links in a row as the system itself follows.
const int MOST_LINKS = 40;

// The file a target names: through symbolic links to what they point to,
// also when that does not exist yet (writing through the link would create
// it). False (ELOOP) for links that never end.
bool fileReplaced(const std::string& target, std::string& path) {
    path = target;
    for (int hop = 0; hop < MOST_LINKS; ++hop) {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        char link[PATH_MAX];
        ssize_t n = readlink(path.c_str(), link, sizeof link - 1);
        if (n <= 0) return true; // gone meanwhile: the rename will tell
        std::string to(link, (size_t)n);
        size_t slash = path.rfind('/');
        // A relative link is read from the directory that holds it.
        if (to[0] != '/' && slash != std::string::npos) to = path.substr(0, slash + 1) + to;
        path = to;
    }
    return false;
}

// Temporary files not yet renamed or removed. Whatever ends the process by
// exit() (a reader's fatal error) removes them too, so none outlives it.
std::vector<std::string>& openTemporaries() {
    static std::vector<std::string> paths;
    return paths;
}

void removeOpenTemporaries() {
    for (const std::string& path : openTemporaries())
        removeIfRegularFile(path.c_str());
}

void noteTemporary(const std::string& path) {
    // The list exists before the hook, so it is destroyed after it has run.
    static bool hooked = (openTemporaries(), atexit(removeOpenTemporaries) == 0);
    (void)hooked;
    openTemporaries().push_back(path);
}

void forgetTemporary(const std::string& path) {
    std::vector<std::string>& paths = openTemporaries();
    paths.erase(std::remove(paths.begin(), paths.end(), path), paths.end());
}

std::string couldNotWrite(const std::string& target, int err) {
    return withReason("couldn't write '" + target + "'", err);
}

} // namespace

bool ReplacedFile::open(const std::string& path, std::string& error) {
    discard();
    target = path;
    struct stat st;
    bool exists = stat(path.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) return openInPlace(error);
    if (!fileReplaced(path, replaced)) {
        error = couldNotWrite(target, ELOOP);
        return false;
    }
    // A file that could not be written in place is not replaced either.
    if (exists && access(replaced.c_str(), W_OK) != 0) {
        error = couldNotWrite(target, errno);
        return false;
    }
    size_t slash = replaced.rfind('/');
    std::string dir = slash == std::string::npos ? "" : replaced.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? replaced : replaced.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = dir + name + "." + std::to_string(getpid()) + "-" + std::to_string(attempt) +
                    ".part";
        beginOutput(temporary);
        noteTemporary(temporary);
        // The mode the target would have if written in place: its own, or
        // that of a new file.
        int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        int err = errno;
        if (fd >= 0 && exists && fchmod(fd, st.st_mode & 0777) != 0) {
            err = errno;
            close(fd);
            fd = -1;
            removeIfRegularFile(temporary.c_str());
        }
        if (fd >= 0) {
            stream = fdopen(fd, "wb");
            if (stream) return true;
            err = errno;
            close(fd);
            removeIfRegularFile(temporary.c_str());
        }
        endOutput(temporary);
        forgetTemporary(temporary);
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

bool ReplacedFile::openInPlace(std::string& error) {
    // A device or pipe is written as it is; a directory refuses here.
    int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    int err = errno;
    if (fd >= 0) {
        stream = fdopen(fd, "wb");
        if (stream) return true;
        err = errno;
        close(fd);
    }
    error = couldNotWrite(target, err);
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
    if (!temporary.empty()) {
        endOutput(temporary);
        forgetTemporary(temporary);
    }
    temporary.clear();
    return true;
}

void ReplacedFile::discard() {
    if (stream) fclose(stream);
    stream = nullptr;
    if (temporary.empty()) return;
    removeIfRegularFile(temporary.c_str());
    endOutput(temporary);
    forgetTemporary(temporary);
    temporary.clear();
}

ReplacedFile::~ReplacedFile() {
    discard();
}
