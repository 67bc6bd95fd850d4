#include "zeCommand.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "zeSignalCleanup.h"

extern char** environ;

namespace {

ShellCommandHook commandHook = nullptr;

// Waits for pid to end without collecting it yet, so that its process
// group cannot vanish (and its number be reused) while signals may still
// be passed on to it.
void waitUntilEnded(pid_t pid) {
    siginfo_t info;
    while (waitid(P_PID, (id_t)pid, &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
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

} // namespace

ShellCommandHook setShellCommandHook(ShellCommandHook hook) {
    ShellCommandHook previous = commandHook;
    commandHook = hook;
    return previous;
}

int runShellCommand(const char* command) {
    if (commandHook) return commandHook(command);
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

    waitUntilEnded(pid);
    sigprocmask(SIG_BLOCK, &handled, nullptr);
    forwardSignalsTo(0);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    int forwarded = takeForwardedSignal();
    if (forwarded != 0) endBySignal(forwarded);
    if (int interrupt = interruptOf(status)) endBySignal(interrupt);
    // A signal that came after the command ended is handled now.
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return status;
}
