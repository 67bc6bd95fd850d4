// The map a contig table describes, over the fingerprints of its bands
// files: for benchmarks that measure one stage of zeContig on a map it
// already wrote, without the pair scan and the layout again.
#ifndef ZE_BENCH_TABLE_MAP_H
#define ZE_BENCH_TABLE_MAP_H

#include <string>
#include <vector>

#include "zeContigMap.h"
#include "zeFingerprint.h"

// False with `error` set on a table that cannot be read or a row that
// names no fingerprint of `prints`.
bool readTableMap(const std::string& path, const std::vector<Fingerprint>& prints, ContigMap& map,
                  std::string& error);

#endif
