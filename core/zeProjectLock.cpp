#include "zeProjectLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

ProjectLock::~ProjectLock() {
    if (fd >= 0) close(fd);
}

bool ProjectLock::acquire(const std::string& dir, Mode mode) {
    if (fd >= 0) return true;
    // Close-on-exec: a command the step starts must not keep the project
    // locked after the step has ended.
    int dirFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return true; // the step's own readers report a missing project
    int operation = (mode == EXCLUSIVE ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int result;
    do {
        result = flock(dirFd, operation);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        fd = dirFd;
        return true;
    }
    int err = errno;
    close(dirFd);
    // EWOULDBLOCK: a conflicting lock is held. Anything else (ENOLCK,
    // EOPNOTSUPP, EINVAL on file systems without locks): run unlocked.
    return err != EWOULDBLOCK;
}

std::string projectBusyMessage(const std::string& dir, const std::string& holder) {
    return "project '" + dir + "' is being processed by " + holder;
}
