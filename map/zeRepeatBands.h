// Bands of a clone that lie in a repeat. A band of a fragment found once
// in the genome is shared only by the clones that cover that fragment, a
// number the library's coverage bounds; a band of a repeat family is
// shared also by the clones at the family's other copies. A band that more
// of a clone's partners share than the library's typical number explains
// is taken as a repeat band of that clone, the partners counted at a looser
// score than the build's cutoff (scanWithBandDepths).
//
// A pair whose score passes only thanks to repeat bands may be two copies
// of one family rather than one place of the genome: such a pair may stay
// within a group of clones that pairs of their own bands hold together,
// but it joins no two such groups, and it brings in no clone whose other
// pairs point to more than one group, nor one whose bands less the repeat
// bands match no better than chance.
#ifndef ZE_REPEATBANDS_H
#define ZE_REPEATBANDS_H

#include <cstddef>
#include <utility>
#include <vector>

#include "zeFingerprint.h"
#include "zeMapSettings.h"
#include "zePairScan.h"
#include "zePrintsView.h"

// Per fingerprint and band, the passing partners that share the band (each
// pair matched as sharedBands does): fingerprint k's bands have their
// counts at depth[start[k] ..].
struct BandDepths {
    std::vector<size_t> start;
    std::vector<int> depth;
};

// `looser` adds further pairs (first, second) to count.
BandDepths bandDepths(const std::vector<Fingerprint>& prints, const std::vector<PairScore>& pairs,
                      int tolerance, const std::vector<std::pair<int, int>>& looser = {});

// One scan for the pairs passing settings.cutoff, in scan order, and the
// band depths over those and the further pairs passing the looser
// settings.repeatDepthCutoff: the clones at a family's other copies mostly
// share too few bands to pass the build cutoff, but they pass a looser
// one, and there the family's bands are shared by more clones than
// elsewhere. The further pairs are held as two indices each until the scan
// ends, unless they come to take more room than the counts, which are
// then kept from that pair on (a library whose clones nearly all share
// one repeat). Held to the end, they are handed on in `looser`
// (first < second, each once; empty where the counts took over): the
// repeat-copy test takes its witnesses from them.
struct ScannedPairs {
    std::vector<PairScore> passing;
    BandDepths depths;
    std::vector<std::pair<int, int>> looser;
};
ScannedPairs scanWithBandDepths(const std::vector<Fingerprint>& prints, const MapSettings& settings);

// The typical number of partners sharing a band: the median over every
// shared band of every pair (a band shared by d partners counts d times).
// 0 when no pair shares a band.
int typicalDepth(const BandDepths& depths);

struct RepeatFindings {
    std::vector<PairScore> kept; // in the order given
    int depthLimit = 0;          // a band shared by more partners is a repeat band
    long repeatBands = 0;        // bands of all clones over the limit
    long pairsSetAside = 0;      // pairs that would have joined on repeat bands
    // The fingerprints of the clones with repeat bands, less them.
    ReplacedPrints plainPrints;
};

// The pairs (first < second, each once, passing settings.cutoff) less
// those that lean on repeat bands where they would join groups, as
// described above; a band shared by more than settings.repeatDepthFactor
// times the typical number of partners is a repeat band.
RepeatFindings withoutRepeatJoins(const std::vector<Fingerprint>& prints,
                                  std::vector<PairScore> pairs, const MapSettings& settings);
// The same with the depths counted beforehand, over further pairs too.
RepeatFindings withoutRepeatJoins(const std::vector<Fingerprint>& prints,
                                  std::vector<PairScore> pairs, const BandDepths& depths,
                                  const MapSettings& settings);

#endif
