// The two marker files of zePlace --chromosomes, tab- or space-separated
// with a header: the hits (clone marker: a clone the marker's probe or PCR
// test found) and the marker map (marker chromosome position: from a
// genetic map, in any numeric unit, of which only the order matters).
// Blank lines are skipped and Windows line ends accepted.
#ifndef ZE_MARKERTABLES_H
#define ZE_MARKERTABLES_H

#include <map>
#include <string>
#include <vector>

struct MarkerMap {
    std::vector<std::string> chromosomes; // in the order the file first names them
    std::vector<std::string> names;       // marker k's name
    std::vector<size_t> chromosome;       // marker k's, an index into chromosomes
    std::vector<double> position;
    std::vector<std::string> positionText; // as written, for the output
    std::map<std::string, size_t> byName;

    // Adds a marker; used by the reader and by tests that build a map.
    void add(const std::string& name, const std::string& chromosomeName, double at,
             const std::string& atText);
};

// False with `error` set to "<path>:<line>: <what>" for a missing header,
// a row without three fields, a position that is not a finite number or a
// marker named twice; "couldn't read '<path>': ..." for an unreadable file.
bool readMarkerMap(const std::string& path, MarkerMap& map, std::string& error);

struct HitLine {
    std::string clone, marker;
    long line = 0;
};

// Every row of a hits file in file order; the same errors for a missing
// header or a row without two fields. Unknown clones and markers, and
// repeated rows, are for the caller to judge.
bool readMarkerHits(const std::string& path, std::vector<HitLine>& hits, std::string& error);

#endif
