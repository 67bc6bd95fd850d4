#include "zeReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

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

// Temporary files not yet renamed or removed.
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
    beginOutput(path);
    openTemporaries().push_back(path);
}

void forgetTemporary(const std::string& path) {
    std::vector<std::string>& paths = openTemporaries();
    paths.erase(std::remove(paths.begin(), paths.end(), path), paths.end());
    endOutput(path);
}

// A new temporary file beside `replaced`, with the permission bits `mode`
// when `keepMode`; -1 with `err` set when none can be made.
int createTemporary(const std::string& replaced, bool keepMode, mode_t mode, std::string& temporary,
                    int& err) {
    size_t slash = replaced.rfind('/');
    std::string dir = slash == std::string::npos ? "" : replaced.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? replaced : replaced.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = dir + name + "." + std::to_string(getpid()) + "-" + std::to_string(attempt) +
                    ".part";
        // Listed before it exists, so that an interrupt in between never
        // leaves it behind.
        noteTemporary(temporary);
        int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        err = errno;
        if (fd >= 0 && keepMode && fchmod(fd, mode & 0777) != 0) {
            err = errno;
            close(fd);
            fd = -1;
            removeIfRegularFile(temporary.c_str());
        }
        if (fd >= 0) return fd;
        forgetTemporary(temporary);
        if (err != EEXIST) break;
    }
    temporary.clear();
    return -1;
}

} // namespace

int openReplacement(const std::string& target, Replacement& r, int& err) {
    r = Replacement();
    struct stat st;
    bool exists = stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        // A device or pipe is written as it is; a directory refuses here.
        int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        err = errno;
        return fd;
    }
    if (!fileReplaced(target, r.replaced)) {
        err = ELOOP;
        return -1;
    }
    if (exists && access(r.replaced.c_str(), W_OK) != 0) {
        err = errno;
        return -1;
    }
    return createTemporary(r.replaced, exists, exists ? st.st_mode : 0, r.temporary, err);
}

void endReplacement(Replacement& r, bool remove) {
    if (r.temporary.empty()) return;
    if (remove) removeIfRegularFile(r.temporary.c_str());
    forgetTemporary(r.temporary);
    r.temporary.clear();
}
