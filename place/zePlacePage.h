// zePlace's page: the settings and counts, each contig's placed sequences
// drawn along it and listed in map order, the split sequences piece by
// piece, the ambiguous ones with their places, and the unplaced ones with
// their fragment counts. Self-contained, with the package's shared style.
#ifndef ZE_PLACEPAGE_H
#define ZE_PLACEPAGE_H

#include <string>
#include <vector>

#include "zeChromosomeAnchors.h"
#include "zePlacement.h"

// What zePlace --chromosomes found, for the table and the page.
struct ChromosomePlaces {
    MarkerMap map;
    std::vector<ContigAnchor> anchors;
    std::string table; // the text of CHROMOSOMES.tsv
    std::string markers, markerMap; // the files' names
};

// The contigs drawn and listed on the page, those with the most placed
// pieces; the others are counted.
const size_t PAGE_CONTIGS = 200;

struct PlacePageInput {
    std::string sequences, map, site;
    std::vector<std::string> files;
    PlaceSettings settings;
    // Null when no sequences were placed: the page shows the chromosomes only.
    const std::vector<PlacementRow>* rows = nullptr;
    const std::vector<long>* contigEnds = nullptr; // by contig number
    const ChromosomePlaces* chromosomes = nullptr; // null: no --chromosomes
};

std::string placePage(const PlacePageInput& in);

#endif
