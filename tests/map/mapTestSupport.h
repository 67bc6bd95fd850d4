// Helpers for the zeContig tests: hand-made libraries on a genome of
// restriction fragments, each fragment one band at a fixed position, and
// the contig table read back.
#ifndef ZE_MAP_TEST_SUPPORT_H
#define ZE_MAP_TEST_SUPPORT_H

#include <map>
#include <string>
#include <vector>

#include "testSupport.h"
#include "zeFingerprint.h"
#include "zePairScan.h"

namespace zetest {

// A genome of `fragments` fragments with band positions drawn from a fixed
// generator (seeded), each in 0 .. 4599.
std::vector<int> fragmentBands(int fragments, unsigned seed);

// Bands 4 apart (distinct at tolerance 0): base + 4 first .. base + 4 last.
std::vector<int> spacedBands(int base, int first, int last);

// A fingerprint of the bands of `parts`, ascending.
Fingerprint printOf(const std::vector<std::vector<int>>& parts, const std::string& name = "");

struct HandClone {
    std::string name;
    std::vector<int> bands; // any order; sorted and merged when written
};

// A clone of genome fragments first .. first + count - 1.
HandClone cloneOf(const std::string& name, const std::vector<int>& genome, int first, int count);

// A chain along the genome: clones <prefix>00 .. <prefix>(count-1), clone
// k on `fragments` fragments from from + step k onward.
std::vector<HandClone> chainOf(const std::string& prefix, const std::vector<int>& genome, int from,
                               int count, int step = 7, int fragments = 40);

// The bands file of `clones` as zeStep5 writes it, gel number `gel`.
std::string bandsFile(const std::vector<HandClone>& clones, const std::string& gel);

RunResult runContig(const std::vector<std::string>& args);

struct ContigRow {
    int contig = 0;
    std::string clone, gel, ordinal, left, right, status, buriedIn, links;
};

// The table's rows, read as zeContig reads an earlier table (which must
// accept it), each field as the table spells it.
std::vector<ContigRow> contigRows(const std::string& table);

struct TilingRow {
    int contig = 0;
    std::string clone, gel, ordinal, left, right, weak, status;
};

// The tiling path table's rows after its header (which must be the
// expected one).
std::vector<TilingRow> tilingRows(const std::string& table);

// A clone's true place in a simulated library (zeGenLibrary's truth.tsv):
// its first piece, and whether it has a second elsewhere.
struct TrueSpan {
    long long start = 0, end = 0;
    bool chimeric = false;
};

std::map<std::string, TrueSpan> trueSpans(const std::string& truthPath);

// The contigs whose clones (less the chimeric ones) lie in more than one
// separate stretch of the genome.
int falseJoins(const std::vector<ContigRow>& rows, const std::map<std::string, TrueSpan>& truth);

int contigsOfTwoOrMore(const std::vector<ContigRow>& rows);

// Each pair's two fingerprints, in the order given.
std::vector<std::pair<int, int>> pairEnds(const std::vector<PairScore>& pairs);

// The rows by clone name.
std::map<std::string, ContigRow> rowsByClone(const std::vector<ContigRow>& rows);

} // namespace zetest

#endif
