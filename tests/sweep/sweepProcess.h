// Running zeStep5 once for the sweep: in a given directory, with a time
// bound, collecting how it ended and what it wrote to standard error.
#ifndef ZE_SWEEP_PROCESS_H
#define ZE_SWEEP_PROCESS_H

#include <string>
#include <vector>

struct RunOutcome {
    bool timedOut = false; // killed after the time bound
    int signal = 0;        // the signal that ended it, or 0
    int status = -1;       // exit status when it exited
    std::string err;       // standard error
    double seconds = 0;    // how long it ran
};

// Runs program with args in cwd (standard input empty, standard output
// discarded). The program and everything it starts are killed once
// timeoutSeconds have passed.
RunOutcome runBounded(const std::string& program, const std::vector<std::string>& args,
                      const std::string& cwd, int timeoutSeconds);

#endif
