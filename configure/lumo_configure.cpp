// lumo_configure: copies a configuration script and lets the user edit the
// values of its marked "$KEYWORD: value" lines, keeping every line's length.
#include "banner.h"
#include "configureFiles.h"
#include "copyLoop.h"
#include "presetLine.h"
#include "terminalHangUp.h"

#include <signal.h>

#include "zeSignalCleanup.h"

int main(int argc, char** argv) {
    // An interrupt ends the program by its signal and removes the output
    // until it is complete. At a prompt, readline first puts the terminal
    // back as it found it and then hands the signal on (its own signal
    // handling, left on).
    installSignalCleanup();
    noteInputTerminal();
    ConfigureFiles files;
    // Held back while the output is created, so that no moment leaves it
    // behind, and an earlier file of that name is never removed unopened.
    sigset_t ending, previous;
    sigemptyset(&ending);
    addCleanupSignals(&ending);
    sigprocmask(SIG_BLOCK, &ending, &previous);
    bool opened = openConfigureFiles(argc, argv, files);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    if (!opened) return 1;
    printBanner(stdout);
    bool copied = copyConfiguration(files.ifil, files.ofil, argv[1], askValue);
    return finishConfigure(files, argv[2], copied);
}
