// A hand-made map for zePlace's tests: two genomes of random bases cut by
// HindIII sites into fragments of known sizes, a contig of overlapping
// clones over each, and the files zePlace reads: the contig table, one
// bands file with its size file.
#ifndef ZE_PLACETESTSUPPORT_H
#define ZE_PLACETESTSUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

namespace zetest {

const int MAP_FRAGMENTS = 60; // fragments of each contig's genome

struct HandMap {
    std::vector<std::string> genomes;            // the bases of each contig's stretch
    std::vector<std::vector<int64_t>> sites;      // where each site starts, per genome
};

// Writes contigs.tsv, 1.bands and 1.sizes into dir; the genomes come back.
HandMap writeHandMap(const std::string& dir);

// Fragments first..last (site to site) of a genome's bases, with the site
// that ends the last.
std::string fragmentsOf(const HandMap& m, int genome, int first, int last);

std::string reverseComplement(const std::string& bases);

// One FASTA record, 60 bases a line.
std::string fastaRecord(const std::string& name, const std::string& bases);

// The rows of a tab-separated text after its header, split into fields.
std::vector<std::vector<std::string>> tsvRows(const std::string& text);

// `text` as one gzip member, as gzip writes a file.
std::string gzipped(const std::string& text);

} // namespace zetest

#endif
