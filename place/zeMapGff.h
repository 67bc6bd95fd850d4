// zeContig's GFF3 file of the map (zeContigGff.h), read so that zePlace
// can write it again with the placements after it: one file of the
// contigs, their clones and the sequences on them.
//
// It is checked against the map's table first, since a file of another
// map would put the placements on contigs that are not theirs: a first
// line "##gff-version 3" and no other; each "##sequence-region contig<N>
// 1 <end>" once, for exactly the table's contigs with their ends (the
// highest right end of their clones); every feature nine tab-separated
// columns on a declared region, within it, its ID unique; no feature of
// zePlace's (the file is zeContig's, not one written here) and no
// ##FASTA section, after which no feature may follow; no control
// character but the tab. Blank lines are dropped and Windows line ends
// accepted.
#ifndef ZE_MAPGFF_H
#define ZE_MAPGFF_H

#include <set>
#include <string>
#include <vector>

struct MapGff {
    std::string text;          // its lines, each ending in "\n"
    std::set<std::string> ids; // its features' IDs as written (percent-encoded)
};

// `contigEnds` by contig number ([0] unused; 0 where a number has no
// clone). False with `error` set to "<name>:<line>: <what>" at the first
// fault.
bool parseMapGff(const std::string& bytes, const std::string& name,
                 const std::vector<long>& contigEnds, MapGff& gff, std::string& error);

// The same for the file at path; "couldn't read '<path>': <reason>" too.
bool readMapGff(const std::string& path, const std::vector<long>& contigEnds, MapGff& gff,
                std::string& error);

#endif
