// The map as GFF3, for genome browsers: each contig a sequence region
// "contig<N>" from 1 to its highest right end, each placed clone a feature
// of type "clone" and each clone of its tiling path one of type
// "tiling_path_clone", both of source "zeContig". Places are 1-based and
// closed: a clone at left .. right in band units (0-based, right
// excluded) is start left + 1, end right. Clones in no contig (chimeric
// ones too) are left out.
//
// A clone's attributes: ID=<clone>:<gel>:<ordinal> (a repeat of an
// identity gets ".2", ".3", ...), Name=<clone>, gel, ordinal, status, and
// buried_in for a buried one; a tiling path clone's: ID=tile:<its
// clone's ID>, Name, gel, ordinal, shared (bands shared with the clone
// before it on the path) and weak=true on a weak step. Values are
// percent-encoded where GFF3 reserves a character (tab, line ends and
// other control characters, ";=&,%").
#ifndef ZE_CONTIGGFF_H
#define ZE_CONTIGGFF_H

#include <string>
#include <vector>

#include "zeContigMap.h"
#include "zeFingerprint.h"
#include "zeTilingPath.h"

std::string contigGff(const std::vector<Fingerprint>& prints, const ContigMap& map,
                      const std::vector<std::vector<TilingStep>>& paths);

// A value of column 9 (or of a sequence id) with GFF3's reserved
// characters percent-encoded.
std::string gffEscaped(const std::string& text);

#endif
