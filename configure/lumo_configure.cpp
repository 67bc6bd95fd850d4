// lumo_configure: copies a configuration script and lets the user edit the
// values of its marked "$KEYWORD: value" lines, keeping every line's length.
#include "banner.h"
#include "configureFiles.h"
#include "configureSignals.h"
#include "copyLoop.h"
#include "presetLine.h"

int main(int argc, char** argv) {
    ConfigureFiles files;
    // Until it is complete, an interrupt removes the output; held back
    // while it is created, so that no moment leaves it behind.
    holdEndingSignals();
    if (!openConfigureFiles(argc, argv, files)) {
        releaseEndingSignals();
        return 1;
    }
    removeOutputOnSignal(argv[2]);
    releaseEndingSignals();
    printBanner(stdout);
    bool copied = copyConfiguration(files.ifil, files.ofil, argv[1], askValue);
    int status = finishConfigure(files, argv[2], copied);
    keepOutputOnSignal();
    return status;
}
