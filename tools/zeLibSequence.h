// The simulated genome as bases: random bases in which the restriction
// site occurs exactly at the genome's cuts, so that an in-silico digest of
// the sequence gives back the library's fragments. A cut is where a site
// starts; fragment k runs from the site at cuts[k] to the one at cuts[k + 1].
#ifndef ZE_LIBSEQUENCE_H
#define ZE_LIBSEQUENCE_H

#include <cstdint>
#include <string>
#include <vector>

#include "zeLibRandom.h"

// The cuts with every interior cut that lies closer than siteLength to the
// one kept before it, or to the genome's end, dropped: a sequence cannot
// hold two sites that close.
std::vector<int64_t> cutsRoomForSites(const std::vector<int64_t>& cuts, size_t siteLength);

// The reverse complement of a sequence of ACGT.
std::string reverseComplement(const std::string& bases);

// The genome of cuts.back() bases: the site at every interior cut, random
// bases elsewhere drawn again wherever they would complete the site or its
// reverse complement. False with `error` set when the site overlaps itself
// or its reverse complement so that a cut would hold a second site.
bool genomeSequence(Rng& rng, const std::vector<int64_t>& cuts, const std::string& site,
                    std::string& genome, std::string& error);

// FASTA text of one record, 60 bases a line, written through `put` in
// pieces so that a whole genome is never copied.
template <class Put>
void putFastaRecord(const std::string& name, const char* bases, size_t length, Put put) {
    put(">" + name + "\n");
    const size_t LINE = 60;
    std::string line;
    for (size_t at = 0; at < length; at += LINE) {
        line.assign(bases + at, std::min(LINE, length - at));
        line += '\n';
        put(line);
    }
}

#endif
