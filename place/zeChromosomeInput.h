// What zePlace --chromosomes anchors: the contig table's contigs with the
// hits of their clones, gathered from the hits file and the marker map,
// and the repeat probes left out. Hits that name a clone the table lacks
// or a marker the map lacks, and rows repeated, are left out and counted
// in a warning each; so are the repeat probes.
#ifndef ZE_CHROMOSOMEINPUT_H
#define ZE_CHROMOSOMEINPUT_H

#include <string>
#include <vector>

#include "zeChromosomeAnchors.h"
#include "zeContigTableReader.h"
#include "zeHitsFile.h"
#include "zeMarkerMap.h"

struct ChromosomeInput {
    std::vector<AnchorContig> contigs; // by contig number
    std::vector<bool> repeatProbes;    // by marker
    std::vector<std::vector<size_t>> rowsHit; // by marker: the table rows it hits, ascending
    std::vector<std::string> warnings; // whole "WARNING: ..." lines
};

struct ChromosomeFiles {
    std::string table, hits, map; // their names in the warnings
};

ChromosomeInput gatherChromosomeInput(const std::vector<ContigTableRow>& rows,
                                      const std::vector<HitLine>& hits, const MarkerMap& map,
                                      const ChromosomeFiles& names);

#endif
