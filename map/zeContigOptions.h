// zeContig's command line: its options with their defaults, the usage
// text and the reading of argv.
#ifndef ZE_CONTIGOPTIONS_H
#define ZE_CONTIGOPTIONS_H

#include <string>
#include <vector>

#include "zeMapBuild.h"
#include "zeTilingPath.h"

struct ContigOptions {
    MapSettings map;
    std::string output; // empty: standard output
    std::string mtp, gff, previous, html, markers; // empty: none
    int mtpShared = DEFAULT_MTP_SHARED;
    std::vector<std::string> files;
    bool help = false, version = false;
};

std::string contigUsage();

// False with `error` set to the text of one usage ERROR line.
bool readContigOptions(int argc, char** argv, ContigOptions& o, std::string& error);

#endif
