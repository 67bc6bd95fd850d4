// The marker map of zePlace --chromosomes: the header "marker chromosome
// position", then one row per marker, from a genetic map in any numeric
// unit, of which only the order matters. It is read as the hits file is
// (zeHitsFile.h): fields separated by tabs or blanks, blank lines skipped.
#ifndef ZE_MARKERMAP_H
#define ZE_MARKERMAP_H

#include <cstddef>
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

#endif
