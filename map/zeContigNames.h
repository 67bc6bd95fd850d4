// Contig numbers carried over from an earlier build of the same library,
// so that notes kept on a contig still name it after new gels come in.
//
// A clone is the same across builds when its name and gel number are (as
// the table writes them). A new contig takes an old contig's number when
// they share more than half of the old contig's clones that are still in
// the new build, and more than half of the new contig's clones that were
// in the old one; each old number goes to one new contig at most. Every
// other new contig gets a number above every old one, in the order the
// build numbered them (by size, then lowest identity).
//
// A new contig holding at least 2 clones of each of several old contigs
// is a merge; an old contig with at least 2 clones in each of several new
// ones is a split. Each is told on one line:
//
//   NOTE: contigs 3 and 7 merged into contig 3
//   NOTE: contig 5 split into contigs 5 and 12
#ifndef ZE_CONTIGNAMES_H
#define ZE_CONTIGNAMES_H

#include <string>
#include <vector>

#include "zeContigMap.h"
#include "zeFingerprint.h"
#include "zeContigTableReader.h"

struct ContigNames {
    std::vector<int> numberOf;      // by the build's number (index 0 unused): the number given
    std::vector<std::string> notes; // "NOTE: ..." lines without their line ends: merges by
                                    // new number, then splits by old number
};

ContigNames nameContigs(const std::vector<Fingerprint>& prints, const ContigMap& map,
                        const std::vector<ContigTableRow>& previous);

// Gives every contig of `map` its number (also in a chimeric clone's
// links); map.contigs becomes the highest number given.
void renumberContigs(ContigMap& map, const std::vector<int>& numberOf);

#endif
