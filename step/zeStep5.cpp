// zeStep5: maps the lanes of one gel project onto the standard scale and
// writes the gel, bands and sizes files and the per-clone results.
#include "zeSignalCleanup.h"
#include "zeStep.h"

int main(int argc, char** argv) {
    // An interrupted run leaves no output cut short.
    installSignalCleanup();
    cli c(argc, argv, help);
    c += cliParam('h', giveHelp);
    c += cliParam('v', verbose);
    c += cliParam(noParam);
    c.go();
    if (giveHelp) help();
    // A step that failed lets the others run, but the batch must see it.
    return stepsExitStatus();
}
