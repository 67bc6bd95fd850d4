// The marker hits of zeContig --markers: a tab-separated file with the
// header "clone<TAB>marker" and one line per clone a marker (a
// hybridisation probe or a PCR marker) hits. A hit names a clone, so it
// holds for every fingerprint of that clone.
#ifndef ZE_MARKERHITS_H
#define ZE_MARKERHITS_H

#include <string>
#include <vector>

#include "zeFingerprint.h"

struct MarkerHits {
    std::vector<std::string> markers;     // in the order of their first hit
    std::vector<std::vector<int>> prints; // per marker: the fingerprints hit, ascending
    long hits = 0;                        // lines used
};

// The hits of the text `bytes`, named `name` in messages, over `prints`
// (sorted by clone name, as zeContigInput.h sorts them). False with
// `error` set to "<name>:<line>: <what>" for a bad header or line. Hits
// naming no clone of `prints` and repeated lines are left out, each kind
// counted on one line of `warnings` ("WARNING: ..."). Windows line ends
// and blank lines at the end are accepted.
bool parseMarkerHits(const std::string& bytes, const std::string& name,
                     const std::vector<Fingerprint>& prints, MarkerHits& hits,
                     std::vector<std::string>& warnings, std::string& error);

// The same for the file at path; one that cannot be read is an error too.
bool readMarkerHits(const std::string& path, const std::vector<Fingerprint>& prints,
                    MarkerHits& hits, std::vector<std::string>& warnings, std::string& error);

#endif
