// Reading back the contig table zeContig writes (zeContigTable.h): for an
// earlier build whose contig numbers are carried over (zeContigNames.h),
// and for the benchmarks and tests that check a table. Every row is
// checked, so that a file that is not such a table is refused rather than
// half used.
#ifndef ZE_CONTIGTABLEREADER_H
#define ZE_CONTIGTABLEREADER_H

#include <string>
#include <vector>

#include "zeContigMap.h"

// The highest contig number a table may hold, also in a chimeric clone's
// links. Numbers carried over from earlier builds leave gaps, but far
// more contigs than any library's builds together make stays below it;
// the programs keep tables by contig number, and a new build numbers its
// new contigs above the old ones, so that a number near INT_MAX would ask
// for gigabytes or run past the largest int.
const int MOST_CONTIG_NUMBER = 1000000;

struct ContigTableRow {
    int contig = 0; // 0: in no contig
    std::string clone, gel;
    int ordinal = 0;
    long left = -1, right = -1; // -1 in contig 0
    CloneStatus status = CloneStatus::Ok;
    std::string buriedIn; // "clone:gel:ordinal" (zeCloneIdentity.h); empty: "-"
    std::vector<int> links; // the contigs a chimeric clone joins
};

// The rows of a table's text, named `name` in messages. False with `error`
// set (the text of an ERROR line, without "ERROR: ") to
// "<name>:<line>: <what>" for a bad header or row. Windows line ends and
// blank lines at the end are accepted.
bool parseContigTable(const std::string& bytes, const std::string& name,
                      std::vector<ContigTableRow>& rows, std::string& error);

// The same for the file at path; a file that cannot be read is an error
// too: "couldn't read '<path>': <reason>".
bool readContigTable(const std::string& path, std::vector<ContigTableRow>& rows,
                     std::string& error);

#endif
