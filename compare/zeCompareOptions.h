// zeCompare's command line: its options with their defaults, the usage
// text and the reading of argv.
#ifndef ZE_COMPAREOPTIONS_H
#define ZE_COMPAREOPTIONS_H

#include <string>
#include <vector>

#include "zeCores.h"
#include "zeSulston.h"

struct CompareOptions {
    int tolerance = DEFAULT_TOLERANCE;
    double cutoff = DEFAULT_CUTOFF;
    int threads = everyCore();
    int part = 1, parts = 1;
    bool partGiven = false;
    std::string html;
    std::vector<std::string> files;
    bool help = false;
    bool version = false;
};

std::string compareUsage();

// False with `error` set to the text of one usage ERROR line.
bool readCompareOptions(int argc, char** argv, CompareOptions& o, std::string& error);

#endif
