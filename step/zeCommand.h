// Shell commands of the step (the results directory's "rm -rf" and
// "mkdir", the compression command): run by /bin/sh -c with the command
// line as it stands, like system(), but without system()'s blindness to
// signals. The step never ignores SIGINT or SIGQUIT while a command runs:
//  - the command runs in a process group of its own, and a signal that
//    would end the step (zeSignalCleanup.h) ends that whole group, shell
//    and programs alike, with SIGTERM; once the command has ended, the
//    step cleans up and ends by the signal it received;
//  - a command ended by SIGINT or SIGQUIT (the shell killed by it, or
//    reporting a program killed by it with status 128 + N) ends the step
//    the same way, as if the user's interrupt had reached the step itself.
#ifndef ZE_COMMAND_H
#define ZE_COMMAND_H

// The wait status of the shell, as system() returns it, or -1 when no
// shell could be started. Does not return when a signal ended the run.
int runShellCommand(const char* command);

// A harness that runs the step in-process (the fuzzer) carries out or
// checks the commands itself: runShellCommand hands every command to the
// function set here instead (null restores the shell). Returns the one
// set before.
using ShellCommandHook = int (*)(const char* command);
ShellCommandHook setShellCommandHook(ShellCommandHook hook);

#endif
