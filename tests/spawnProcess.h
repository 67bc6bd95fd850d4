// Starting a program from a test without fork(). A sanitized test process
// maps a large shadow memory, and fork() copies its page tables for every
// program a test runs (about 8 ms of system time each, against 2 ms for
// posix_spawn, which shares the memory until the exec).
#ifndef ZE_SPAWN_PROCESS_H
#define ZE_SPAWN_PROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

namespace zetest {

// How the child starts: the descriptors it gets as standard input, output
// and error (-1: this process's own), descriptors it must not keep, its
// directory (empty: this one's), whether it leads a process group of its
// own, and whether SIGINT, SIGQUIT, SIGTERM, SIGHUP and SIGPIPE are reset to
// their defaults with no signal blocked (else it inherits them).
struct SpawnSetup {
    int in = -1;
    int out = -1;
    int err = -1;
    std::vector<int> closeInChild;
    std::string cwd;
    bool ownGroup = false;
    bool defaultSignals = false;
    bool searchPath = false; // program is a name looked up on PATH
};

// The child's process id, or -1 when the program could not be started
// (not found, not executable, or cwd missing).
pid_t spawnProgram(const std::string& program, const std::vector<std::string>& args,
                   const SpawnSetup& setup);

} // namespace zetest

#endif
