// zeGenLibrary's command line: the library's shape and the errors of a
// real library, each with its default.
#ifndef ZE_LIBOPTIONS_H
#define ZE_LIBOPTIONS_H

#include <cstdint>
#include <string>
#include <vector>

#include "zeLibMarkers.h"

// A band of the cloning vector: at a fixed standard position in a share of
// the clones.
struct VectorBand {
    int position = 0;
    double share = 0;
};

// The errors of a real library; --perfect turns every one off.
struct LibraryErrors {
    double extraBands = 0.04;   // extra bands per band of the clone
    double missingBands = 0.04; // chance that a fragment band is lost
    std::vector<VectorBand> vectorBands{{1387, 0.85}, {3695, 0.33}, {3766, 0.33}};
    bool endFragments = true;
    double chimeric = 0.03; // chance that a clone is chimeric
    double repeats = 0;     // share of the genome in repeat copies
};

struct Options {
    std::string outDir;
    long clones = 960;
    uint64_t seed = 1;
    long perGel = 96;
    double fragmentMean = 4000;
    double cloneMean = 150000;
    double cloneSd = 25000;
    double minSize = 600;
    double maxSize = 30000;
    double noise = 1.5;
    double coverage = 10;
    double genomeLength = 0; // 0: from the coverage
    LibraryErrors errors;
    // The genome as sequence (genome.fasta, and <gel>.sizes beside each
    // bands file), cut at `site`; a draft assembly of it (draft.fasta,
    // draft-truth.tsv) of pieces of mean length draftMean with `misjoins`.
    bool genome = false;
    std::string site = "AAGCTT";
    bool draft = false;
    double draftMean = 30000;
    long misjoins = 5;
    // A real genome (FASTA) whose sites give the cuts; empty: simulated.
    std::string genomeFrom;
    // The genome as this many chromosomes; given: truth.tsv names each
    // clone's. Markers with spacing above 0: markers.tsv, marker-map.tsv
    // and markers-truth.tsv.
    long chromosomes = 1;
    bool chromosomesGiven = false;
    MarkerSettings markers;
};

// The options of argv; the help and the version end the program once
// written (status 0), a bad command line with an ERROR line and status 1.
Options parseOptions(int argc, char** argv);

#endif
