#include "zeSignalCleanup.h"

#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

const int HANDLED_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// A program here has at most a handful of outputs open at once.
const int OUTPUT_SLOTS = 16;

// A slot's path is written only while the slot is unused, and `used` is
// set after it, so the handler never reads a path half written.
struct OutputSlot {
    volatile sig_atomic_t used;
    char path[PATH_MAX];
};

OutputSlot slots[OUTPUT_SLOTS];
volatile sig_atomic_t commandGroup = 0;
volatile sig_atomic_t forwardedSignal = 0;

void removeWatchedOutputs() {
    for (OutputSlot& slot : slots) {
        if (!slot.used) continue;
        // Only a regular file: never what a link points to, never a device.
        struct stat status;
        if (lstat(slot.path, &status) == 0 && S_ISREG(status.st_mode)) unlink(slot.path);
    }
}

void onEndingSignal(int sig) {
    int savedErrno = errno;
    pid_t group = (pid_t)commandGroup;
    if (group > 0) {
        // The command ends first; its caller then ends this process. It
        // gets SIGTERM whatever came here: a shell that receives SIGINT
        // while a program it waits for carries on, as if the program had
        // taken the interrupt, and runs the rest of its command.
        forwardedSignal = sig;
        kill(-group, SIGTERM);
        errno = savedErrno;
        return;
    }
    endBySignal(sig);
}

} // namespace

void addCleanupSignals(sigset_t* set) {
    for (int sig : HANDLED_SIGNALS)
        sigaddset(set, sig);
}

void installSignalCleanup() {
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = onEndingSignal;
    // One signal at a time: a second one waits until the first has ended
    // the process.
    sigemptyset(&action.sa_mask);
    addCleanupSignals(&action.sa_mask);
    for (int sig : HANDLED_SIGNALS) {
        struct sigaction current;
        if (sigaction(sig, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
        sigaction(sig, &action, nullptr);
    }
}

void watchOutput(const char* path) {
    if (!path || strlen(path) >= PATH_MAX) return;
    for (OutputSlot& slot : slots) {
        if (slot.used) continue;
        strcpy(slot.path, path);
        std::atomic_signal_fence(std::memory_order_seq_cst);
        slot.used = 1;
        return;
    }
}

void unwatchOutput(const char* path) {
    if (!path) return;
    for (OutputSlot& slot : slots)
        if (slot.used && strcmp(slot.path, path) == 0) slot.used = 0;
}

void unwatchAllOutputs() {
    for (OutputSlot& slot : slots)
        slot.used = 0;
}

void forwardSignalsTo(pid_t group) {
    commandGroup = (sig_atomic_t)group;
}

int takeForwardedSignal() {
    int sig = (int)forwardedSignal;
    forwardedSignal = 0;
    return sig;
}

void endBySignal(int sig) {
    sigset_t handled;
    sigemptyset(&handled);
    addCleanupSignals(&handled);
    sigprocmask(SIG_BLOCK, &handled, nullptr);
    removeWatchedOutputs();
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(sig, &action, nullptr);
    raise(sig);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, sig);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    // Not reached: the signal's default action ends the process.
    _exit(128 + sig);
}
