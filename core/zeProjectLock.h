// One run per project directory at a time: an advisory lock (flock) on the
// directory itself, so the project gains no lock file. zeStep5 holds it
// exclusively for its step; zeReport shares it, so that it never reads
// outputs a step is rewriting. Where the file system cannot lock, the
// programs run unlocked as they always have. The lock is released when
// the object goes, or when the process ends however it ends.
#ifndef ZE_PROJECTLOCK_H
#define ZE_PROJECTLOCK_H

#include <string>

class ProjectLock {
  public:
    enum Mode { EXCLUSIVE, SHARED };

    ProjectLock() = default;
    ~ProjectLock();
    ProjectLock(const ProjectLock&) = delete;
    ProjectLock& operator=(const ProjectLock&) = delete;

    // False only when another process holds a lock on dir that excludes
    // this one (a step runs there); the caller reports it. A directory
    // that cannot be opened or locked is left to the caller, unlocked.
    bool acquire(const std::string& dir, Mode mode);
    bool held() const { return fd >= 0; }
    // After a refusal: how the lock in the way is held. EXCLUSIVE is
    // zeStep5's, SHARED that of reports (only an exclusive request can
    // meet shared holders).
    Mode refusedBy() const { return holder; }

  private:
    int fd = -1;
    Mode holder = EXCLUSIVE;
};

// The message a refused run prints (through printError).
std::string projectBusyMessage(const std::string& dir, const std::string& holder);

#endif
