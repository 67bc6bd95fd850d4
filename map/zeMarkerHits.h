// The marker hits of zeContig --markers over the fingerprints, from the
// hits file (zeHitsFile.h). A hit names a clone, so it holds for every
// fingerprint of that clone.
#ifndef ZE_MARKERHITS_H
#define ZE_MARKERHITS_H

#include <string>
#include <vector>

#include "zeFingerprint.h"
#include "zeHitsFile.h"

struct MarkerHits {
    std::vector<std::string> markers;     // in the order of their first hit
    std::vector<std::vector<int>> prints; // per marker: the fingerprints hit, ascending
    long hits = 0;                        // lines used
};

// The hits of the rows `lines` of the file `name` over `prints` (sorted by
// clone name, as zeContigInput.h sorts them). Rows naming no clone of
// `prints` and repeated rows are left out, each kind counted on one line
// of `warnings` ("WARNING: ...").
MarkerHits markerHitsOf(const std::vector<HitLine>& lines, const std::string& name,
                        const std::vector<Fingerprint>& prints, std::vector<std::string>& warnings);

// The same from the text `bytes` of a hits file named `name`; false with
// `error` set as parseHitsFile sets it.
bool parseMarkerHits(const std::string& bytes, const std::string& name,
                     const std::vector<Fingerprint>& prints, MarkerHits& hits,
                     std::vector<std::string>& warnings, std::string& error);

#endif
