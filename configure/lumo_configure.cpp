// lumo_configure: copies a configuration script and lets the user edit the
// values of its marked "$KEYWORD: value" lines, keeping every line's length.
#include "banner.h"
#include "configureFiles.h"
#include "copyLoop.h"
#include "presetLine.h"

int main(int argc, char** argv) {
    ConfigureFiles files;
    if (!openConfigureFiles(argc, argv, files)) return 1;
    printBanner(stdout);
    bool copied = copyConfiguration(files.ifil, files.ofil, argv[1], askValue);
    return finishConfigure(files, argv[2], copied);
}
