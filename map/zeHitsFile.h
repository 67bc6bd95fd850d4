// The marker hits file that zeContig --markers and zePlace --chromosomes
// read: the header "clone marker", then one row per clone a marker (a
// hybridisation probe or a PCR marker) hits, as core/zeHeadedTable.h reads
// tables: fields separated by tabs or blanks, blank lines skipped, Windows
// line ends accepted. What a hit is worth (a clone or marker the program
// does not know) is for each program to judge.
#ifndef ZE_HITSFILE_H
#define ZE_HITSFILE_H

#include <string>
#include <vector>

struct HitLine {
    std::string clone, marker;
    long line = 0;
    long repeats = 0; // the line of the same hit earlier in the file, or 0
};

// Every row of the text `bytes`, named `name` in messages, in file order.
// False with `error` set to "<name>:<line>: <what>" for a missing header
// or a row without two fields.
bool parseHitsFile(const std::string& bytes, const std::string& name, std::vector<HitLine>& hits,
                   std::string& error);

// The same for the file at path; one that cannot be read is an error too.
bool readHitsFile(const std::string& path, std::vector<HitLine>& hits, std::string& error);

// The hit lines left out for one reason: how many, and the first, for the
// one WARNING line that tells them.
struct LeftOutHits {
    long count = 0, firstLine = 0;
    std::string first;
    void add(const HitLine& hit, const std::string& what) {
        if (count++ == 0) {
            firstLine = hit.line;
            first = what;
        }
    }
};

#endif
