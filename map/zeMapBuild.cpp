#include "zeMapBuild.h"

#include <algorithm>
#include <iterator>

#include "zeBurial.h"
#include "zeChimeras.h"
#include "zeCommonBands.h"
#include "zeContigNumbers.h"
#include "zeJunctions.h"
#include "zeLayout.h"
#include "zeLinearCuts.h"
#include "zeMarkerPairs.h"
#include "zeMapDecision.h"
#include "zeMisfits.h"
#include "zeOverlapGraph.h"
#include "zePairScan.h"
#include "zeRepeatBands.h"
#include "zeRepeatCopies.h"
#include "zeTrustedPairs.h"

namespace {

std::vector<PairScore> passingPairs(const std::vector<Fingerprint>& prints, const MapSettings& s) {
    ScanSettings scan;
    scan.tolerance = s.tolerance;
    scan.cutoff = s.cutoff;
    scan.threads = s.threads;
    return collectPassingPairs(prints, scan);
}

// The places of the clones that are not chimeric.
ClonePlaces withoutChimeras(ClonePlaces places, const std::vector<int>& pieceFrom) {
    for (size_t v = 0; v < places.size(); ++v)
        if (pieceFrom[v] > 0) places[v] = ClonePlace();
    return places;
}

// The pairs of both lists (each by first then second), in that order.
std::vector<PairScore> mergedPairs(const std::vector<PairScore>& a, const std::vector<PairScore>& b) {
    std::vector<PairScore> all;
    all.reserve(a.size() + b.size());
    std::merge(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(all),
               [](const PairScore& x, const PairScore& y) {
                   return x.first != y.first ? x.first < y.first : x.second < y.second;
               });
    return all;
}

} // namespace

ContigMap buildMap(const std::vector<Fingerprint>& given, const MapSettings& s,
                   const std::vector<std::vector<int>>& markerHits) {
    const int n = (int)given.size();
    const std::vector<BandRange> masked = commonBandRanges(given, s.tolerance, s.commonBandShare);
    // A copy only when there is something to mask.
    const std::vector<Fingerprint> maskedPrints =
        masked.empty() ? std::vector<Fingerprint>() : withoutBandsIn(given, masked);
    const std::vector<Fingerprint>& prints = masked.empty() ? given : maskedPrints;
    RepeatFindings repeats = withoutRepeatJoins(prints, passingPairs(prints, s), s);
    // Groups around a clone that overlap only on repeat bands may be two
    // copies of one family: the junction test rescores them on the rest,
    // and marker pairs are scored on the rest.
    const PrintsView plain(prints, &repeats.plainPrints);
    MarkerFindings markers;
    if (!markerHits.empty()) markers = markerPairs(plain, markerHits, repeats.kept, s);
    OverlapGraph g(n, trustedPairs(n, markers.pairs.empty()
                                          ? repeats.kept
                                          : mergedPairs(repeats.kept, markers.pairs)));
    MapFindings found;
    const std::vector<std::pair<int, int>> copyCuts = repeatCopyCuts(g, plain, s);
    if (!copyCuts.empty()) g = withoutEdges(g, copyCuts);
    found.junctions = findJunctions(g, plain, s);
    std::vector<std::vector<int>> groups = groupsApart(g, found.junctions);
    found.places = placeGroups(g, prints, groups, s);
    // A group that lies over itself is two places: cut, and laid out again.
    for (int round = 0; round < s.cutRounds; ++round) {
        const std::vector<std::pair<int, int>> cuts =
            nonLinearCuts(g, plain, groups, found.places, s);
        if (cuts.empty()) break;
        g = withoutEdges(g, cuts);
        groups = groupsApart(g, found.junctions);
        found.places = placeGroups(g, prints, groups, s);
    }
    found.misfits = findMisfits(prints, groups, found.places, s);
    // The chimera lookup takes a buried clone's foreign bands from the clone
    // it lies in; a Q clone, which fits its place badly, counts as not buried.
    std::vector<int> buriedIn = findBurials(g, found.places, s.buriedShare);
    for (int v = 0; v < n; ++v)
        if (found.misfits[v]) buriedIn[v] = -1;
    found.pieceFrom = findChimeras(g, prints, found.places, buriedIn, s);
    // A clone buried in one found chimeric lies in another, or in none.
    found.buriedIn = findBurials(g, withoutChimeras(found.places, found.pieceFrom), s.buriedShare);
    ContigMap map = decideMap(g, found);
    map.maskedBands = masked;
    map.repeatPairsSetAside = repeats.pairsSetAside;
    map.repeatCopyOverlapsCut = (long)copyCuts.size();
    map.markerTypicalHits = markers.typicalHits;
    map.markerRepeatProbes = markers.repeatProbes;
    map.markerPairsAdded = (long)markers.pairs.size();
    numberContigs(map);
    return map;
}
