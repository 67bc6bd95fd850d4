#include "sweepProcess.h"

#include "spawnProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

double now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

} // namespace

RunOutcome runBounded(const std::string& program, const std::vector<std::string>& args,
                      const std::string& cwd, int timeoutSeconds) {
    RunOutcome outcome;
    int errPipe[2];
    if (pipe(errPipe) != 0) {
        perror("pipe");
        exit(2);
    }
    // Its own process group, so the shell commands it starts can be
    // killed with it.
    int devNull = open("/dev/null", O_RDWR);
    zetest::SpawnSetup setup;
    setup.in = setup.out = devNull;
    setup.err = errPipe[1];
    setup.closeInChild = {errPipe[0], errPipe[1], devNull};
    setup.cwd = cwd;
    setup.ownGroup = true;
    pid_t pid = zetest::spawnProgram(program, args, setup);
    close(devNull);
    if (pid < 0) {
        perror("posix_spawn");
        exit(2);
    }
    close(errPipe[1]);

    double started = now();
    double deadline = started + timeoutSeconds;
    char buf[4096];
    for (;;) {
        double left = deadline - now();
        if (left <= 0) {
            outcome.timedOut = true;
            kill(-pid, SIGKILL);
            kill(pid, SIGKILL);
            break;
        }
        pollfd p = {errPipe[0], POLLIN, 0};
        int ready = poll(&p, 1, (int)(left * 1000) + 1);
        if (ready <= 0) continue;
        ssize_t n = read(errPipe[0], buf, sizeof buf);
        if (n <= 0) break; // every writer has closed standard error
        // Enough of standard error to classify the run; a flood is cut.
        if (outcome.err.size() < (1u << 20)) outcome.err.append(buf, (size_t)n);
    }
    close(errPipe[0]);

    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    if (WIFSIGNALED(wstatus)) outcome.signal = WTERMSIG(wstatus);
    if (WIFEXITED(wstatus)) outcome.status = WEXITSTATUS(wstatus);
    if (outcome.timedOut) outcome.signal = 0;
    outcome.seconds = now() - started;
    return outcome;
}
