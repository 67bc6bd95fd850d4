// Building the map: contigs of overlapping clones, each clone's place in
// its contig and its status.
//
//  1. Every pair within the build cutoff (the pair scan).
//  2. Only trusted pairs are kept (zeTrustedPairs.h).
//  3. Clones that alone join two groups are taken out as chimeric
//     (zeJunctions.h).
//  4. The contigs are the connected groups of what remains; a clone
//     overlapping no other is in none.
//  5. Each contig is laid out (zeLayout.h); clones whose bands lie almost
//     all in another clone are marked buried (zeBurial.h).
//  6. Clones whose bands fit the clones placed around them badly are
//     marked Q (zeBandFit.h).
//  7. Clones whose lacking bands are found together at another place are
//     taken out as chimeric (zeForeignPieces.h), and the burials settled
//     again without them.
//  8. Contigs are numbered and turned (zeContigNumbers.h).
//
// Fingerprints are expected in a fixed order (zeContigInput.h sorts them),
// and every step above is deterministic, so the map depends neither on the
// order of the input nor on the number of threads.
#ifndef ZE_MAPBUILD_H
#define ZE_MAPBUILD_H

#include <vector>

#include "zeContigMap.h"
#include "zeFingerprint.h"
#include "zeMapSettings.h"

ContigMap buildMap(const std::vector<Fingerprint>& prints, const MapSettings& settings);

#endif
