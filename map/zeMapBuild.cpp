#include "zeMapBuild.h"

#include <algorithm>
#include <cmath>

#include "zeBandFit.h"
#include "zeBurial.h"
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

// Integer places from centres: each clone as long as its bands less the
// layout's excess, the
// contig turned so that its first member (its lowest fingerprint) lies in
// its left half, then moved to start at 0.
void placeContig(const std::vector<Fingerprint>& prints, const std::vector<int>& members,
                 const ContigLayout& layout, int number, ContigMap& map) {
    std::vector<double> at = layout.centres;
    auto length = [&](size_t i) {
        return std::max<long>(1, std::lround((double)prints[members[i]].bands.size() -
                                             layout.excess[i]));
    };
    auto span = [&](long& lowest, long& highest) {
        lowest = 0;
        highest = 0;
        for (size_t i = 0; i < members.size(); ++i) {
            long n = length(i);
            long left = std::lround(at[i] - n / 2.0);
            if (i == 0 || left < lowest) lowest = left;
            if (i == 0 || left + n > highest) highest = left + n;
        }
    };
    long lowest, highest;
    span(lowest, highest);
    long n0 = length(0);
    double firstMiddle = std::lround(at[0] - n0 / 2.0) + n0 / 2.0;
    if (firstMiddle > (lowest + highest) / 2.0) {
        for (double& x : at)
            x = -x;
        span(lowest, highest);
    }
    for (size_t i = 0; i < members.size(); ++i) {
        PlacedClone& c = map.clones[members[i]];
        long n = length(i);
        c.contig = number;
        c.left = std::lround(at[i] - n / 2.0) - lowest;
        c.right = c.left + n;
    }
}

void markPoorFits(const std::vector<Fingerprint>& prints, const std::vector<int>& members,
                  int tolerance, ContigMap& map) {
    std::vector<Placement> placements;
    for (int v : members)
        placements.push_back({v, map.clones[v].left, map.clones[v].right});
    std::vector<char> bad = fitsBadly(prints, placements, tolerance);
    for (size_t i = 0; i < members.size(); ++i)
        if (bad[i]) {
            map.clones[members[i]].status = CloneStatus::Q;
            map.clones[members[i]].buriedIn = -1;
        }
}

} // namespace

ContigMap buildMap(const std::vector<Fingerprint>& prints, const MapSettings& s) {
    const int n = (int)prints.size();
    ContigMap map;
    map.clones.resize((size_t)n);
    OverlapGraph g(n, trustedPairs(n, passingPairs(prints, s)));

    JunctionSettings js;
    js.tolerance = s.tolerance;
    js.looseCutoff = s.looseCutoff;
    std::vector<char> junction = findJunctions(g, prints, js);

    std::vector<std::vector<int>> contigs = contigGroups(g, junction);
    std::vector<int> contigOf((size_t)n, -1);
    for (size_t c = 0; c < contigs.size(); ++c)
        for (int v : contigs[c])
            contigOf[v] = (int)c;
    std::vector<int> buriedIn = findBurials(g, prints, contigOf);

    std::vector<int> scratch((size_t)n, -1);
    for (size_t c = 0; c < contigs.size(); ++c) {
        const std::vector<int>& members = contigs[c];
        placeContig(prints, members, layoutContig(g, prints, members, scratch),
                    (int)c + 1, map);
        for (int v : members)
            if (buriedIn[v] >= 0) {
                map.clones[v].status = CloneStatus::Buried;
                map.clones[v].buriedIn = buriedIn[v];
            }
        markPoorFits(prints, members, s.tolerance, map);
    }
    map.contigs = (int)contigs.size();

    for (int v = 0; v < n; ++v) {
        if (!junction[v]) continue;
        PlacedClone& c = map.clones[v];
        c.status = CloneStatus::Chimeric;
        for (const Overlap* o = g.begin(v); o != g.end(v); ++o)
            if (contigOf[o->to] >= 0) c.links.push_back(contigOf[o->to] + 1);
        std::sort(c.links.begin(), c.links.end());
        c.links.erase(std::unique(c.links.begin(), c.links.end()), c.links.end());
    }
    return map;
}
