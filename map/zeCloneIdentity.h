// How zeContig's outputs name a fingerprint: by its clone name, its gel
// number and its ordinal in its bands file, which together tell apart
// every fingerprint of a build. Every output spells it here.
#ifndef ZE_CLONEIDENTITY_H
#define ZE_CLONEIDENTITY_H

#include <string>

#include "zeFingerprint.h"

// "clone:gel:ordinal", as given (the caller escapes it for its format):
// the tables' buried_in, the GFF IDs and the page's rows.
std::string cloneIdentity(const Fingerprint& f);

// Appends a name as a table field: tabs and line ends inside it would
// break the table's columns, so each becomes a blank.
void appendTableField(std::string& out, const std::string& text);

// Appends the columns "clone<TAB>gel<TAB>ordinal" of the tables.
void appendIdentityColumns(std::string& out, const Fingerprint& f);

// What names a clone across builds, where ordinals change: its name and
// gel number as the table writes them, tab-separated.
std::string nameAcrossBuilds(const std::string& clone, const std::string& gel);

#endif
