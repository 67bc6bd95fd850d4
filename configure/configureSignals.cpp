#include "configureSignals.h"

#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace {

const int ENDING_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};

char output_path[PATH_MAX];
volatile sig_atomic_t output_set = 0;

sigset_t endingSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int sig : ENDING_SIGNALS)
        sigaddset(&set, sig);
    return set;
}

// Async-signal-safe calls only.
void on_ending_signal(int sig) {
    if (output_set) {
        struct stat status;
        if (lstat(output_path, &status) == 0 && S_ISREG(status.st_mode)) unlink(output_path);
    }
    signal(sig, SIG_DFL);
    raise(sig);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, sig);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    _exit(128 + sig);
}

} // namespace

void removeOutputOnSignal(const char* output_name) {
    if (strlen(output_name) >= sizeof output_path) return;
    strcpy(output_path, output_name);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    output_set = 1;
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = on_ending_signal;
    action.sa_mask = endingSignals();
    for (int sig : ENDING_SIGNALS) {
        struct sigaction current;
        // A signal ignored from the start stays ignored.
        if (sigaction(sig, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
        sigaction(sig, &action, nullptr);
    }
}

void holdEndingSignals() {
    sigset_t set = endingSignals();
    sigprocmask(SIG_BLOCK, &set, nullptr);
}

void releaseEndingSignals() {
    sigset_t set = endingSignals();
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

void keepOutputOnSignal() {
    output_set = 0;
}
