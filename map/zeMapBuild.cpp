#include "zeMapBuild.h"

#include "zeBurial.h"
#include "zeChimeras.h"
#include "zeContigNumbers.h"
#include "zeJunctions.h"
#include "zeLayout.h"
#include "zeMapDecision.h"
#include "zeMisfits.h"
#include "zeOverlapGraph.h"
#include "zePairScan.h"
#include "zeTrustedPairs.h"

namespace {

std::vector<PairScore> passingPairs(const std::vector<Fingerprint>& prints, const MapSettings& s) {
    ScanSettings scan;
    scan.tolerance = s.tolerance;
    scan.cutoff = s.cutoff;
    scan.threads = s.threads;
    std::vector<PairScore> pairs;
    scanPairs(prints, scan, [&](const std::vector<PairScore>& batch) {
        pairs.insert(pairs.end(), batch.begin(), batch.end());
        return true;
    });
    return pairs;
}

// The places of the clones that are not chimeric.
ClonePlaces withoutChimeras(ClonePlaces places, const std::vector<int>& pieceFrom) {
    for (size_t v = 0; v < places.size(); ++v)
        if (pieceFrom[v] > 0) places[v] = ClonePlace();
    return places;
}

} // namespace

ContigMap buildMap(const std::vector<Fingerprint>& prints, const MapSettings& s) {
    const int n = (int)prints.size();
    OverlapGraph g(n, trustedPairs(n, passingPairs(prints, s)));
    MapFindings found;
    found.junctions = findJunctions(g, prints, s);
    const std::vector<std::vector<int>> groups = groupsApart(g, found.junctions);
    found.places = placeGroups(g, prints, groups, s);
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
    numberContigs(map);
    return map;
}
