// The contig table zeContig writes: tab-separated, a header line naming
// the columns, one row per fingerprint, ordered by contig (contig 0, the
// clones in no contig, last), then left, right, clone, gel and ordinal.
//
//   contig clone gel ordinal left right status buried_in links
//
// left and right are "-" in contig 0; buried_in is "clone:gel:ordinal" of
// the clone a buried one lies in, links the contigs a chimeric clone joins
// (comma-separated); both "-" otherwise.
#ifndef ZE_CONTIGTABLE_H
#define ZE_CONTIGTABLE_H

#include <string>
#include <vector>

#include "zeCloneIdentity.h"
#include "zeContigMap.h"
#include "zeFingerprint.h"

std::string contigTableHeader();

// The rows, in table order.
std::string contigTableRows(const std::vector<Fingerprint>& prints, const ContigMap& map);

// "ok", "buried", "Q" or "chimeric".
const char* statusName(CloneStatus status);

#endif
