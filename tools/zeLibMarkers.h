// Markers that tie the simulated library to the chromosomes: probes or PCR
// markers at about one per --markers bases, each hitting the clones whose
// true span holds it, with the errors of real hybridisation data, and a
// genetic map that places each with an error of its own.
#ifndef ZE_LIBMARKERS_H
#define ZE_LIBMARKERS_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "zeLibChromosomes.h"
#include "zeLibClone.h"
#include "zeLibRandom.h"

// A repeat probe lies at this many loci beyond its own (uniform), spread
// at uniform places over the whole genome.
const int REPEAT_PROBE_FEWEST_LOCI = 10;
const int REPEAT_PROBE_MOST_LOCI = 30;

struct MarkerSettings {
    double spacing = 0;       // bases between markers, about; 0: no markers
    double miss = 0.10;       // chance that a clone holding a marker shows no hit
    double falseHits = 0.02;  // each hit brings one more, on a uniform clone, with this chance
    double mapError = 100000; // standard deviation of the map position, bases
    double repeatProbes = 0.02; // chance that a marker is a repeat probe
};

struct Marker {
    std::string name;
    size_t chromosome = 0;
    int64_t position = 0;    // true, on the genome
    int64_t mapPosition = 0; // on its chromosome, with the map's error
    bool repeatProbe = false;
    std::vector<int64_t> loci; // where it hybridises: its position, and a repeat probe's others
};

// Every chromosome holds round(length / spacing) markers (at least one),
// one in each of as many equal windows at a uniform offset, named m000001,
// m000002, ... along the genome. Map positions are clamped to the
// chromosome.
std::vector<Marker> placeMarkers(Rng& rng, const Chromosomes& c, const MarkerSettings& s);

// (clone index, marker index) of every hit, ascending, each once: a clone
// whose piece holds one of a marker's loci is hit unless missed; every hit
// made brings a false one on a clone drawn from the whole library with
// the falseHits chance.
std::vector<std::pair<size_t, size_t>> markerHits(Rng& rng, const std::vector<Marker>& markers,
                                                  const std::vector<Clone>& clones,
                                                  const MarkerSettings& s);

// markers.tsv: clone marker, one row per hit.
std::string markerHitsTable(const std::vector<std::pair<size_t, size_t>>& hits,
                            const std::vector<std::string>& cloneNames,
                            const std::vector<Marker>& markers);
// marker-map.tsv: marker chromosome position (the map's).
std::string markerMapTable(const std::vector<Marker>& markers);
// markers-truth.tsv: marker chromosome position genome_position repeat_probe
// (the true position on the chromosome and on the genome; 1 or 0).
std::string markersTruthTable(const std::vector<Marker>& markers, const Chromosomes& c);

#endif
