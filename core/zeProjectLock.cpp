#include "zeProjectLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace {

// 0 when the lock is taken, else the error number.
int tryLock(int dirFd, ProjectLock::Mode mode) {
    int operation = (mode == ProjectLock::EXCLUSIVE ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int result;
    do {
        result = flock(dirFd, operation);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

} // namespace

ProjectLock::~ProjectLock() {
    if (fd >= 0) close(fd);
}

bool ProjectLock::acquire(const std::string& dir, Mode mode) {
    if (fd >= 0) return true;
    // Close-on-exec: a command the step starts must not keep the project
    // locked after the step has ended.
    int dirFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return true; // the step's own readers report a missing project
    int err = tryLock(dirFd, mode);
    // Only shared locks in the way of an exclusive one: readers hold the
    // project. Taking a shared lock tells, and then the exclusive one is
    // tried again, in case the holder has just let go.
    if (err == EWOULDBLOCK && mode == EXCLUSIVE) {
        holder = EXCLUSIVE;
        if (tryLock(dirFd, SHARED) == 0) {
            holder = SHARED;
            err = tryLock(dirFd, EXCLUSIVE);
        }
    }
    if (err == 0) {
        fd = dirFd;
        return true;
    }
    close(dirFd);
    // EWOULDBLOCK: a conflicting lock is held. Anything else (ENOLCK,
    // EOPNOTSUPP, EINVAL on file systems without locks): run unlocked.
    return err != EWOULDBLOCK;
}

std::string projectBusyMessage(const std::string& dir, const std::string& holder) {
    return "project '" + dir + "' is being processed by " + holder;
}
