// The Q clones: placed clones whose bands fit the clones placed around
// them badly. Where a clone lies, its fragments lie in the other clones
// covering the same stretch, so each of its bands is matched by several of
// them. A band that fewer than settings.fitSupport of them match is
// unexplained; a clone with a piece from elsewhere (chimeric), or a lane
// from another clone, has many such bands. Stretches covered by fewer
// clones than that, as at a contig's ends, are allowed for: only the bands
// beyond what they explain count against the clone.
#ifndef ZE_MISFITS_H
#define ZE_MISFITS_H

#include <vector>

#include "zeClonePlaces.h"
#include "zeFingerprint.h"
#include "zeMapSettings.h"

struct Placement {
    int print = 0;
    long left = 0, right = 0;
};

// For each placement of one contig: true when its clone fits badly.
std::vector<char> fitsBadly(const std::vector<Fingerprint>& prints,
                            const std::vector<Placement>& contig, const MapSettings& settings);

// For every fingerprint: true when it is placed in one of `groups` (each
// a group's members, as placed in `places`) and fits it badly.
std::vector<char> findMisfits(const std::vector<Fingerprint>& prints,
                              const std::vector<std::vector<int>>& groups,
                              const ClonePlaces& places, const MapSettings& settings);

#endif
