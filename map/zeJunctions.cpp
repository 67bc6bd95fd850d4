#include "zeJunctions.h"

#include <algorithm>

#include "zeOverhangGroups.h"
#include "zePairScan.h"
#include "zePartnerBands.h"
#include "zeUnionFind.h"

namespace {

// True when some pair between groups a and b (indices into `near`)
// scores within the loose cutoff.
bool groupsOverlap(const std::vector<int>& a, const std::vector<int>& b,
                   const PrintsView& prints, const MapSettings& s) {
    int tried = 0;
    for (int x : a)
        for (int y : b) {
            if (++tried > s.mostPairsTried) return false;
            if (scoreBands(prints[(size_t)std::min(x, y)].bands,
                           prints[(size_t)std::max(x, y)].bands, s.tolerance)
                    .score <= s.looseCutoff)
                return true;
        }
    return false;
}

// The bands of x that the clones of a group match.
std::vector<char> matchedBands(const std::vector<int>& group, int x, const PrintsView& prints,
                               int tolerance) {
    const std::vector<int>& bands = prints[(size_t)x].bands;
    std::vector<char> matched(bands.size(), 0);
    PartnerBands p;
    for (int v : group) {
        splitPartnerBands(prints[(size_t)v].bands, bands, tolerance, p);
        for (size_t b = 0; b < bands.size(); ++b)
            matched[b] |= p.matched[b];
    }
    return matched;
}

// True when the bands of x that one of the groups matches are, but for
// `slack`, all matched by the other: a group lying over the part of x the
// other covers, not a side of x of its own.
bool oneWithinOther(const std::vector<int>& a, const std::vector<int>& b, int x,
                    const PrintsView& prints, int tolerance, int slack) {
    const std::vector<char> ma = matchedBands(a, x, prints, tolerance);
    const std::vector<char> mb = matchedBands(b, x, prints, tolerance);
    int onlyA = 0, onlyB = 0;
    for (size_t i = 0; i < ma.size(); ++i) {
        onlyA += ma[i] && !mb[i];
        onlyB += mb[i] && !ma[i];
    }
    return onlyA <= slack || onlyB <= slack;
}

bool isJunction(const OverlapGraph& g, int x, const PrintsView& prints,
                const MapSettings& s) {
    const int n = g.degree(x);
    if (n < 2) return false;
    const Overlap* near = g.begin(x);
    UnionFind local(n);
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (g.sharedOf(near[i].to, near[j].to) >= 0) local.unite(i, j);
    std::vector<std::vector<int>> groups;
    std::vector<int> groupOf(n, -1);
    for (int i = 0; i < n; ++i) {
        int root = local.find(i);
        if (groupOf[root] < 0) {
            groupOf[root] = (int)groups.size();
            groups.emplace_back();
        }
        groups[groupOf[root]].push_back(near[i].to);
    }
    if (groups.size() < 2) return false;
    // Groups that overlap at the loose cutoff are one side of X; but when
    // X holds a copy of a repeat (partners in overhang groups beyond two),
    // a group matching only bands of X that the other matches may be at
    // another copy, where the family's bands alone pass the loose cutoff.
    const bool atCopy = !partnersInExtraOverhangs(g, prints, x, s).empty();
    UnionFind sides((int)groups.size());
    for (size_t a = 0; a < groups.size(); ++a)
        for (size_t b = a + 1; b < groups.size(); ++b)
            if (sides.find((int)a) != sides.find((int)b) &&
                !(atCopy && oneWithinOther(groups[a], groups[b], x, prints, s.tolerance,
                                           s.copySlack)) &&
                groupsOverlap(groups[a], groups[b], prints, s))
                sides.unite((int)a, (int)b);
    // A side of one clone that overlaps nothing but X is a leaf hanging
    // on X, not a second place.
    std::vector<int> sideSize(groups.size(), 0);
    for (size_t a = 0; a < groups.size(); ++a) {
        bool leaf = groups[a].size() == 1 && g.degree(groups[a][0]) == 1;
        if (!leaf) sideSize[sides.find((int)a)] += (int)groups[a].size() + 1;
    }
    int substantial = 0;
    for (int size : sideSize)
        if (size > 0) ++substantial;
    return substantial >= 2;
}

} // namespace

std::vector<char> findJunctions(const OverlapGraph& g, const PrintsView& prints,
                                const MapSettings& settings) {
    std::vector<char> junction((size_t)g.size(), 0);
    for (int x = 0; x < g.size(); ++x)
        junction[x] = isJunction(g, x, prints, settings) ? 1 : 0;
    return junction;
}

std::vector<std::vector<int>> groupsApart(const OverlapGraph& g, const std::vector<char>& removed) {
    UnionFind groups(g.size());
    for (int v = 0; v < g.size(); ++v)
        if (!removed[v])
            for (const Overlap* o = g.begin(v); o != g.end(v); ++o)
                if (!removed[o->to]) groups.unite(v, o->to);
    std::vector<int> slot((size_t)g.size(), -1);
    std::vector<std::vector<int>> found;
    for (int v = 0; v < g.size(); ++v) {
        if (removed[v] || groups.sizeOf(v) < 2) continue;
        int root = groups.find(v);
        if (slot[root] < 0) {
            slot[root] = (int)found.size();
            found.emplace_back();
        }
        found[slot[root]].push_back(v);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const std::vector<int>& a, const std::vector<int>& b) {
                         return a.size() > b.size();
                     });
    return found;
}
