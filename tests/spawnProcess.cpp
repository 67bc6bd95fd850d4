#include "spawnProcess.h"

#include <signal.h>
#include <spawn.h>

extern char** environ;

namespace zetest {

pid_t spawnProgram(const std::string& program, const std::vector<std::string>& args,
                   const SpawnSetup& setup) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const int streams[] = {setup.in, setup.out, setup.err};
    for (int target = 0; target < 3; target++)
        if (streams[target] >= 0) posix_spawn_file_actions_adddup2(&actions, streams[target], target);
    for (int fd : setup.closeInChild)
        if (fd > 2) posix_spawn_file_actions_addclose(&actions, fd);
    if (!setup.cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, setup.cwd.c_str());

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    short flags = 0;
    if (setup.ownGroup) {
        flags |= POSIX_SPAWN_SETPGROUP;
        posix_spawnattr_setpgroup(&attributes, 0);
    }
    if (setup.defaultSignals) {
        flags |= POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
        sigset_t reset, none;
        sigemptyset(&reset);
        for (int sig : {SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGPIPE})
            sigaddset(&reset, sig);
        sigemptyset(&none);
        posix_spawnattr_setsigdefault(&attributes, &reset);
        posix_spawnattr_setsigmask(&attributes, &none);
    }
    posix_spawnattr_setflags(&attributes, flags);

    pid_t pid = -1;
    int failed = setup.searchPath
                     ? posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), environ)
                     : posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

} // namespace zetest
