// zeContig's page: one self-contained HTML document (inline CSS and SVG,
// no scripts, nothing fetched) with an overview of the map (contigs by
// size, N50, clones of each status), the settings it was built with, and a
// drawing of each of the largest contigs. Its size and the time it takes
// grow with the clones of the contigs drawn, not with the library: the
// whole map is only counted.
#ifndef ZE_CONTIGPAGE_H
#define ZE_CONTIGPAGE_H

#include <string>
#include <vector>

#include "zeContigMap.h"
#include "zeFingerprint.h"
#include "zeMapSettings.h"
#include "zeTilingPath.h"

// The largest contigs drawn unless the input says otherwise.
const int CONTIGS_DRAWN = 20;

struct ContigPageInput {
    std::vector<std::string> files; // the bands files, as given
    const std::vector<Fingerprint>* prints = nullptr;
    const ContigMap* map = nullptr; // of prints
    MapSettings settings;
    std::string table; // where the table went; empty: standard output
    std::string markers; // the marker hits file; empty: none
    // Per fingerprint (as prints): true when it is on its contig's tiling
    // path. Empty when no path was chosen: nothing is marked then.
    std::vector<char> tilingPath;
    int mtpShared = DEFAULT_MTP_SHARED; // the tiling path's least shared bands
    // The library's junk allowance the path was chosen with (tilingPaths);
    // -1 when no path was chosen.
    long pathJunk = -1;
    int contigsDrawn = CONTIGS_DRAWN;
};

std::string contigPage(const ContigPageInput& in);

#endif
