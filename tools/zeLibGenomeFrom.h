// A real genome as the library's source: the cuts are where the
// restriction site (either orientation) starts in the sequence of a FASTA
// file, read as a stream. Its records are laid end to end in file order,
// so that clones may span two records as they would span a chromosome's
// end; no site is found across a record's boundary.
#ifndef ZE_LIBGENOMEFROM_H
#define ZE_LIBGENOMEFROM_H

#include <cstdint>
#include <string>
#include <vector>

struct GenomeFrom {
    // Fragment k runs from cuts[k] to cuts[k + 1]; the first cut is 0 and
    // the last the genome's length, as cutGenome's.
    std::vector<int64_t> cuts;
    // The bases in upper case, N for N and the ambiguous codes; filled only
    // when asked (a draft is cut from them).
    std::string bases;
    long records = 0;
};

// False with `error` set to the text of an ERROR line naming the file and
// line (a bad FASTA file, a byte that is no base, a genome with no site).
bool readGenomeFrom(const std::string& path, const std::string& site, bool keepBases,
                    GenomeFrom& genome, std::string& error);

#endif
