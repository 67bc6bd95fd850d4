// A terminal that goes away while lumo_configure asks (its window closed,
// its line hung up) is an interrupt, not the end of the answers. Readline
// sees end of input at once, often before the SIGHUP that comes with it,
// and under a parent that ignores SIGHUP none comes at all; taken as an
// answer, it would let the copy finish with the remaining values unchanged.
#ifndef LUMO_TERMINAL_HANGUP_H
#define LUMO_TERMINAL_HANGUP_H

#include <cstdio>

// Notes whether standard input is a terminal, and whether it is this
// session's own. Called once at start-up, before the first prompt.
void noteInputTerminal();

// Readline's key reader (rl_getc_function) that also notes a failed read.
int readKeyNotingFailure(FILE* in);

// After readline has returned: when standard input was a terminal and a
// read from it failed, or it is no longer a terminal of this session, ends
// the program as SIGHUP does (the output removed, status 129), also when
// SIGHUP is ignored. Otherwise returns, and end of input keeps its meaning.
void endIfInputHungUp();

#endif
