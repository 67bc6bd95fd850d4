// Building the map: contigs of overlapping clones, each clone's place in
// its contig and its status. Each stage returns what it found; none
// changes what another found, and none carries anything from one group of
// clones to the next.
//
//  1. Band positions held by nearly every clone are masked
//     (zeCommonBands.h); every pair within the build cutoff (the pair
//     scan); pairs passing only with repeat bands join no groups
//     (zeRepeatBands.h).
//  2. Only trusted pairs are kept (zeTrustedPairs.h).
//  3. Clones that alone join two groups are junctions (zeJunctions.h); the
//     groups are what stays connected without them, a clone overlapping
//     no other in none.
//  4. Each group is laid out (zeLayout.h), and a group that lies over
//     itself is cut and laid out again (zeLinearCuts.h). With marker hits,
//     pairs of clones a marker hits pass at a looser cutoff and join the
//     groups further (zeMarkerPairs.h), and the groups are laid out (and
//     cut) again.
//  5. Clones whose bands fit the clones placed around them badly are
//     misfits (zeMisfits.h); clones whose bands lie almost all in another
//     are buried in it (zeBurial.h).
//  6. Clones whose lacking bands are found together at another place have
//     a foreign piece (zeChimeras.h), and the burials are found again
//     without them.
//  7. Each clone's status is decided from all of these (zeMapDecision.h),
//     and the contigs are numbered and turned (zeContigNumbers.h).
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

// markerHits: per marker, the fingerprints it hits, ascending; none
// without markers.
ContigMap buildMap(const std::vector<Fingerprint>& prints, const MapSettings& settings,
                   const std::vector<std::vector<int>>& markerHits = {});

#endif
