#include "zeCommand.h"

#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "zeSignalCleanup.h"

extern char** environ;

namespace {

ShellCommandHook commandHook = nullptr;

// Waits for pid to end without collecting it yet, so that its process
// group cannot vanish (and its number be reused) while signals may still
// be passed on to it. The ending as system() would report it.
int waitUntilEnded(pid_t pid) {
    siginfo_t info;
    info.si_pid = 0;
    while (waitid(P_PID, (id_t)pid, &info, WEXITED | WNOWAIT) != 0)
        if (errno != EINTR) return 0;
    if (info.si_code == CLD_EXITED) return (info.si_status & 0xff) << 8;
    return info.si_status & 0x7f; // killed (with or without a core)
}

// SIGINT or SIGQUIT when the command was ended by one: the shell itself
// killed by it, or reporting a program it ran killed by it (status 128 + N).
const int INTERRUPTS[] = {SIGINT, SIGQUIT};

int interruptOf(int status) {
    for (int sig : INTERRUPTS) {
        if (WIFSIGNALED(status) && WTERMSIG(status) == sig) return sig;
        if (WIFEXITED(status) && WEXITSTATUS(status) == 128 + sig) return sig;
    }
    return 0;
}

// The command is being stopped: a program its shell started just as
// SIGTERM came (a fork with signals held back) escapes it, so SIGTERM goes
// to the group again each time one of its processes ends, until none is
// left. Orphans of the command become this process's children (it is
// their subreaper), so every one of them is waited for here.
void endCommandGroup(pid_t group) {
    for (;;) {
        kill(-group, SIGTERM);
        if (waitpid(-group, nullptr, 0) < 0 && errno != EINTR) return; // ECHILD: none left
    }
}

} // namespace

ShellCommandHook setShellCommandHook(ShellCommandHook hook) {
    ShellCommandHook previous = commandHook;
    commandHook = hook;
    return previous;
}

int runShellCommand(const char* command) {
    if (commandHook) return commandHook(command);
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    sigset_t handled, previous;
    sigemptyset(&handled);
    addCleanupSignals(&handled);
    // A signal between the start and forwardSignalsTo would be lost to
    // the command; held back, it is passed on right after.
    sigprocmask(SIG_BLOCK, &handled, &previous);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setsigmask(&attributes, &previous);
    sigset_t defaults;
    sigemptyset(&defaults);
    addCleanupSignals(&defaults);
    posix_spawnattr_setsigdefault(&attributes, &defaults);

    char shell[] = "/bin/sh", dashC[] = "-c";
    char* argv[] = {shell, dashC, const_cast<char*>(command), nullptr};
    pid_t pid = -1;
    int spawned = posix_spawn(&pid, "/bin/sh", nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        errno = spawned;
        return -1;
    }
    forwardSignalsTo(pid);
    sigprocmask(SIG_SETMASK, &previous, nullptr);

    int status = waitUntilEnded(pid);
    sigprocmask(SIG_BLOCK, &handled, nullptr);
    forwardSignalsTo(0);
    int stop = takeForwardedSignal();
    if (stop == 0) stop = interruptOf(status);
    if (stop != 0) {
        endCommandGroup(pid);
        endBySignal(stop);
    }
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    // A signal that came after the command ended is handled now.
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return status;
}
