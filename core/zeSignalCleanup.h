// Ending by a signal without leaving half a file behind. SIGINT, SIGTERM,
// SIGHUP and SIGQUIT (Ctrl-C, a scheduler's time limit, a closed terminal)
// remove the outputs being written at that moment, then end the process by
// the same signal, so that a shell or scheduler sees "killed by signal N".
// Outputs already complete stay.
//
// The handler works from a fixed table of paths, filled by the checked
// output registry (beginOutput / endOutput of zeOutputRegistry.h), and does
// nothing that is not async-signal-safe.
#ifndef ZE_SIGNALCLEANUP_H
#define ZE_SIGNALCLEANUP_H

#include <signal.h>
#include <sys/types.h>

// Installs the handler for the four signals; a signal the process was
// started with ignored stays ignored (a background job of a shell without
// job control ignores SIGINT and SIGQUIT on purpose).
void installSignalCleanup();

// The table of outputs being written. A path that does not fit the table
// (longer than a path can be, or more outputs open at once than any
// program here writes) is not removed by a signal.
void watchOutput(const char* path);
void unwatchOutput(const char* path);
void unwatchAllOutputs();

// While a command runs in process group `group` (0: none), an ending
// signal ends the whole group (with SIGTERM) instead of this process; the
// caller waits for the command and then calls takeForwardedSignal.
void forwardSignalsTo(pid_t group);
// The signal passed on since the last call, or 0; clears it.
int takeForwardedSignal();

// Removes the outputs being written and ends the process by sig (its
// default action). Safe in a signal handler.
[[noreturn]] void endBySignal(int sig);

// The signals handled here, for callers that block them around a fork.
void addCleanupSignals(sigset_t* set);

#endif
