#include "zeMapDecision.h"

#include <algorithm>

ContigMap decideMap(const OverlapGraph& g, const MapFindings& f) {
    const size_t n = f.places.size();
    std::vector<char> chimeric(n, 0);
    for (size_t v = 0; v < n; ++v)
        chimeric[v] = f.junctions[v] || f.pieceFrom[v] > 0;
    ContigMap map;
    map.contigs = groupsOf(f.places);
    std::vector<int> held((size_t)map.contigs + 1, 0);
    for (size_t v = 0; v < n; ++v)
        if (!chimeric[v]) ++held[(size_t)f.places[v].contig];
    auto isContig = [&](int group) { return group > 0 && held[(size_t)group] >= 2; };

    map.clones.resize(n);
    for (size_t v = 0; v < n; ++v) {
        PlacedClone& c = map.clones[v];
        const ClonePlace& p = f.places[v];
        if (chimeric[v]) {
            c.status = CloneStatus::Chimeric;
            if (f.junctions[v]) {
                for (const Overlap* o = g.begin((int)v); o != g.end((int)v); ++o)
                    if (!chimeric[o->to]) c.links.push_back(f.places[o->to].contig);
            } else {
                c.links = {p.contig, f.pieceFrom[v]};
            }
            c.links.erase(std::remove_if(c.links.begin(), c.links.end(),
                                         [&](int group) { return !isContig(group); }),
                          c.links.end());
            std::sort(c.links.begin(), c.links.end());
            c.links.erase(std::unique(c.links.begin(), c.links.end()), c.links.end());
            continue;
        }
        if (!isContig(p.contig)) continue;
        c.contig = p.contig;
        c.left = p.left;
        c.right = p.right;
        if (f.misfits[v]) {
            c.status = CloneStatus::Q;
        } else if (f.buriedIn[v] >= 0) {
            c.status = CloneStatus::Buried;
            c.buriedIn = f.buriedIn[v];
        }
    }
    return map;
}
