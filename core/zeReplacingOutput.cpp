#include "zeReplacingOutput.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "zeError.h"
#include "zeSignalCleanup.h"
#include "zeWriteCheck.h"

namespace {

// The mode that open(..., 0666) would give a new file under the process's
// umask; mkstemp gives 0600.
mode_t newFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

ReplacingOutput::~ReplacingOutput() {
    discard();
}

void ReplacingOutput::discard() {
    if (fd >= 0) close(fd);
    fd = -1;
    if (temporary.empty()) return;
    removeIfRegularFile(temporary.c_str());
    endOutput(temporary);
    temporary.clear();
}

bool ReplacingOutput::fail(int err) {
    printError(withReason("couldn't write '" + target + "'", err));
    discard();
    return false;
}

bool ReplacingOutput::begin() {
    struct stat st;
    if (stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return fail(EISDIR);
        if (!S_ISREG(st.st_mode)) {
            // A device or a pipe: there is nothing to rename over.
            fd = open(target.c_str(), O_WRONLY | O_CLOEXEC);
            return fd >= 0 || fail(errno);
        }
    }
    std::string pattern = target + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // The temporary is listed as an output the moment it exists: no ending
    // signal comes in between.
    sigset_t cleanup, before;
    sigemptyset(&cleanup);
    addCleanupSignals(&cleanup);
    sigprocmask(SIG_BLOCK, &cleanup, &before);
    fd = mkstemp(name.data());
    int err = errno;
    if (fd >= 0) {
        temporary = name.data();
        beginOutput(temporary);
    }
    sigprocmask(SIG_SETMASK, &before, nullptr);
    if (fd < 0) return fail(err);
    return fchmod(fd, newFileMode()) == 0 || fail(errno);
}

bool ReplacingOutput::finish(const std::string& bytes) {
    if (fd < 0) return false;
    for (size_t done = 0; done < bytes.size();) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail(n < 0 ? errno : EIO);
        done += (size_t)n;
    }
    int file = fd;
    fd = -1;
    // On Linux the descriptor is closed even when close reports EINTR.
    if (close(file) != 0 && errno != EINTR) return fail(errno);
    if (temporary.empty()) return true;
    if (rename(temporary.c_str(), target.c_str()) != 0) return fail(errno);
    endOutput(temporary);
    temporary.clear();
    return true;
}
