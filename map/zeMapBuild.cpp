#include "zeMapBuild.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "zeBurial.h"
#include "zeChimeras.h"
#include "zeCircularGroups.h"
#include "zeCommonBands.h"
#include "zeContigNumbers.h"
#include "zeCrowdedBands.h"
#include "zeJunctions.h"
#include "zeLayout.h"
#include "zeLinearCuts.h"
#include "zeMapDecision.h"
#include "zeMarkerPairs.h"
#include "zeMisfits.h"
#include "zeOverlapGraph.h"
#include "zePairScan.h"
#include "zeRepeatBands.h"
#include "zeRepeatCopies.h"
#include "zeThinJoins.h"
#include "zeTrustedPairs.h"

namespace {

// The places of the clones that are not chimeric.
ClonePlaces withoutChimeras(ClonePlaces places, const std::vector<int>& pieceFrom) {
    for (size_t v = 0; v < places.size(); ++v)
        if (pieceFrom[v] > 0) places[v] = ClonePlace();
    return places;
}

// Lays the groups of g apart from its junctions out; a group that lies
// over itself is two places: cut, and laid out again.
void layOut(OverlapGraph& g, const std::vector<Fingerprint>& prints, const PrintsView& plain,
            const MapSettings& s, std::vector<std::vector<int>>& groups, MapFindings& found) {
    groups = groupsApart(g, found.junctions);
    const OpenedCircles opened = openCircles(g, groups, s, &plain);
    found.circleOpenings.insert(found.circleOpenings.end(), opened.openings.begin(),
                                opened.openings.end());
    if (!opened.cuts.empty()) {
        g = withoutEdges(g, opened.cuts);
        groups = groupsApart(g, found.junctions);
    }
    found.places = placeGroups(g, prints, groups, s);
    for (int round = 0; round < s.cutRounds; ++round) {
        std::vector<std::pair<int, int>> cuts = nonLinearCuts(g, plain, groups, found.places, s);
        const std::vector<std::pair<int, int>> thin = thinJoinCuts(g, plain, groups, found.places, s);
        cuts.insert(cuts.end(), thin.begin(), thin.end());
        std::sort(cuts.begin(), cuts.end());
        cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
        if (cuts.empty()) break;
        g = withoutEdges(g, cuts);
        groups = groupsApart(g, found.junctions);
        found.places = placeGroups(g, prints, groups, s);
    }
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
    ScannedPairs scanned = scanWithBandDepths(prints, s);
    std::vector<PairScore> passing = std::move(scanned.passing);
    CrowdedSelection crowded;
    if (s.crowdedPower > 0) {
        CrowdedWitnesses witnesses;
        witnesses.least = s.crowdedWitnesses;
        witnesses.offsetSlack = s.crowdedOffsetSlack;
        crowded = crowdedPassing(crowdedBands(prints, s.tolerance), prints, std::move(passing),
                                 std::pow(s.cutoff, s.crowdedPower), witnesses);
        passing = std::move(crowded.pairs);
    }
    // The marker pairs leave every pair of the scan alone.
    MarkerCandidates candidates;
    if (!markerHits.empty()) candidates = markerCandidates(markerHits, passing, s);
    RepeatFindings repeats = withoutRepeatJoins(prints, std::move(passing), scanned.depths, s);
    scanned.depths = BandDepths();
    OverlapGraph g(n, trustedPairs(n, repeats.kept));
    MapFindings found;
    // Groups around a clone that overlap only on repeat bands may be two
    // copies of one family: the junction test rescores them on the rest,
    // and so does the marker stage.
    const PrintsView plain(prints, &repeats.plainPrints);
    // The pairs just short of the cutoff witness where a clone's own place
    // lies; they are held no longer than that.
    std::vector<std::pair<int, int>> copyCuts;
    {
        const OverlapGraph witnesses(n, scanned.looser);
        std::vector<std::pair<int, int>>().swap(scanned.looser);
        copyCuts = repeatCopyCuts(g, plain, s, &witnesses);
    }
    if (!copyCuts.empty()) g = withoutEdges(g, copyCuts);
    found.junctions = findJunctions(g, plain, s);
    std::vector<std::vector<int>> groups;
    layOut(g, prints, plain, s, groups, found);
    // Markers join whole groups, laid out again; what the scan's pairs
    // decided (cuts, junctions) stands.
    MarkerFindings markers;
    if (!markerHits.empty()) {
        markers = markerPairs(plain, candidates, groups, found.junctions, s);
        if (!markers.pairs.empty()) {
            g = withEdges(g, markers.pairs);
            layOut(g, prints, plain, s, groups, found);
        }
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
    map.crowdedPairsSetAside = crowded.setAside;
    map.crowdedPairsRestored = crowded.restored;
    map.repeatPairsSetAside = repeats.pairsSetAside;
    map.repeatCopyOverlapsCut = (long)copyCuts.size();
    map.circleOpenings = found.circleOpenings;
    map.markerTypicalHits = markers.typicalHits;
    map.markerRepeatProbes = markers.repeatProbes;
    map.markerPairsAdded = (long)markers.pairs.size();
    numberContigs(map);
    return map;
}
