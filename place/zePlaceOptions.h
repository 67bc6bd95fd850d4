// zePlace's command line: its options with their defaults, the usage text
// and the reading of argv.
#ifndef ZE_PLACEOPTIONS_H
#define ZE_PLACEOPTIONS_H

#include <string>
#include <vector>

#include "zePlacement.h"

struct PlaceOptions {
    PlaceSettings place;
    std::string map, output, agp, gff, html; // empty: none (output: standard output)
    std::string mapGff; // zeContig's GFF3 of the map, written again before the placements
    std::string site, siteText, enzyme;      // site: the one used, upper case
    std::string sequences;                   // the FASTA file
    std::vector<std::string> files;          // bands files
    // --chromosomes: the contigs placed on the chromosomes by the markers;
    // without a site no sequences are placed, and the bands files, which
    // confirm lone hits, may be left out.
    std::string markers, markerMap, chromosomes;
    bool placesSequences() const { return !sequences.empty(); }
    bool help = false, version = false;
};

std::string placeUsage();

// False with `error` set to the text of one usage ERROR line.
bool readPlaceOptions(int argc, char** argv, PlaceOptions& o, std::string& error);

#endif
