#include "zeMapBuild.h"

#include <algorithm>
#include <cmath>

#include "zeBandFit.h"
#include "zeBurial.h"
#include "zeContigNumbers.h"
#include "zeForeignPieces.h"
#include "zeJunctions.h"
#include "zeLayout.h"
#include "zeOverlapGraph.h"
#include "zePairScan.h"
#include "zeTrustedPairs.h"
#include "zeUnionFind.h"

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

// Groups of vertices connected in g without passing through a removed
// one, each as ascending vertices, ordered by size (largest first), then
// by first vertex. Groups of one vertex are left out.
std::vector<std::vector<int>> contigGroups(const OverlapGraph& g, const std::vector<char>& removed) {
    UnionFind groups(g.size());
    for (int v = 0; v < g.size(); ++v)
        if (!removed[v])
            for (const Overlap* o = g.begin(v); o != g.end(v); ++o)
                if (!removed[o->to]) groups.unite(v, o->to);
    std::vector<int> slot((size_t)g.size(), -1);
    std::vector<std::vector<int>> contigs;
    for (int v = 0; v < g.size(); ++v) {
        if (removed[v] || groups.sizeOf(v) < 2) continue;
        int root = groups.find(v);
        if (slot[root] < 0) {
            slot[root] = (int)contigs.size();
            contigs.emplace_back();
        }
        contigs[slot[root]].push_back(v);
    }
    std::stable_sort(contigs.begin(), contigs.end(),
                     [](const std::vector<int>& a, const std::vector<int>& b) {
                         return a.size() > b.size();
                     });
    return contigs;
}

// Integer places from centres, each clone as long as its bands less the
// layout's excess; numberContigs turns and moves them.
void placeContig(const std::vector<Fingerprint>& prints, const std::vector<int>& members,
                 const ContigLayout& layout, int number, ContigMap& map) {
    for (size_t i = 0; i < members.size(); ++i) {
        PlacedClone& c = map.clones[members[i]];
        long n = std::max<long>(1, std::lround((double)prints[members[i]].bands.size() -
                                               layout.excess[i]));
        c.contig = number;
        c.left = std::lround(layout.centres[i] - n / 2.0);
        c.right = c.left + n;
    }
}

void markPoorFits(const std::vector<Fingerprint>& prints, const std::vector<int>& members,
                  const MapSettings& s, ContigMap& map) {
    std::vector<Placement> placements;
    for (int v : members)
        placements.push_back({v, map.clones[v].left, map.clones[v].right});
    std::vector<char> bad = fitsBadly(prints, placements, s);
    for (size_t i = 0; i < members.size(); ++i)
        if (bad[i]) {
            map.clones[members[i]].status = CloneStatus::Q;
            map.clones[members[i]].buriedIn = -1;
        }
}

// The clones whose other piece comes from elsewhere leave their contigs
// as chimeric, linking the two.
void markForeignPieces(const OverlapGraph& g, const std::vector<Fingerprint>& prints,
                       const std::vector<int>& buriedIn, const MapSettings& s, ContigMap& map) {
    std::vector<int> pieceFrom = findForeignPieces(g, prints, map, buriedIn, s);
    for (size_t v = 0; v < pieceFrom.size(); ++v) {
        if (pieceFrom[v] == 0) continue;
        PlacedClone& c = map.clones[v];
        c.links = {c.contig, pieceFrom[v]};
        c.contig = 0;
        c.left = c.right = -1;
        c.status = CloneStatus::Chimeric;
        c.buriedIn = -1;
    }
}

// Burials among the clones still in contigs (after some were found
// chimeric); Q clones keep their status.
void markBurials(const OverlapGraph& g, double share, ContigMap& map) {
    std::vector<int> buriedIn = findBurials(g, map, share);
    for (size_t v = 0; v < map.clones.size(); ++v) {
        PlacedClone& c = map.clones[v];
        if (c.contig == 0 || c.status == CloneStatus::Q) continue;
        c.buriedIn = buriedIn[v];
        c.status = c.buriedIn >= 0 ? CloneStatus::Buried : CloneStatus::Ok;
    }
}

} // namespace

ContigMap buildMap(const std::vector<Fingerprint>& prints, const MapSettings& s) {
    const int n = (int)prints.size();
    ContigMap map;
    map.clones.resize((size_t)n);
    OverlapGraph g(n, trustedPairs(n, passingPairs(prints, s)));

    std::vector<char> junction = findJunctions(g, prints, s);

    std::vector<std::vector<int>> contigs = contigGroups(g, junction);
    map.contigs = (int)contigs.size();
    std::vector<int> scratch((size_t)n, -1);
    double typicalExcess = 0; // contigs come largest first
    for (size_t c = 0; c < contigs.size(); ++c)
        placeContig(prints, contigs[c], layoutContig(g, prints, contigs[c], s, scratch, typicalExcess),
                    (int)c + 1, map);
    markBurials(g, s.buriedShare, map);
    for (const std::vector<int>& members : contigs)
        markPoorFits(prints, members, s, map);
    std::vector<int> buriedIn((size_t)n, -1);
    for (int v = 0; v < n; ++v)
        buriedIn[v] = map.clones[v].buriedIn;
    markForeignPieces(g, prints, buriedIn, s, map);
    // A clone buried in one found chimeric lies in another, or in none.
    markBurials(g, s.buriedShare, map);

    for (int v = 0; v < n; ++v) {
        if (!junction[v]) continue;
        PlacedClone& c = map.clones[v];
        c.status = CloneStatus::Chimeric;
        for (const Overlap* o = g.begin(v); o != g.end(v); ++o)
            if (map.clones[o->to].contig > 0) c.links.push_back(map.clones[o->to].contig);
    }
    numberContigs(map);
    return map;
}
