#include "terminalHangUp.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <readline/readline.h>

#include "zeSignalCleanup.h"

namespace {

bool inputWasTerminal = false;
bool inputWasOurs = false; // the session's controlling terminal
bool readFailed = false;

bool stillATerminal() {
    struct termios modes;
    // A hung-up terminal answers every request with EIO.
    if (tcgetattr(STDIN_FILENO, &modes) != 0) return false;
    // A hang-up also takes the terminal from the session.
    return !inputWasOurs || tcgetsid(STDIN_FILENO) == getsid(0);
}

} // namespace

void noteInputTerminal() {
    inputWasTerminal = isatty(STDIN_FILENO);
    inputWasOurs = inputWasTerminal && tcgetsid(STDIN_FILENO) == getsid(0);
}

int readKeyNotingFailure(FILE* in) {
    int c = rl_getc(in);
    // Readline's own reader says READERR for a failed read, EOF for the end.
    if (c == READERR) readFailed = true;
    return c;
}

void endIfInputHungUp() {
    if (!inputWasTerminal) return;
    if (readFailed || !stillATerminal()) endBySignal(SIGHUP);
}
