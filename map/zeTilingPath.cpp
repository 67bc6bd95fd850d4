#include "zeTilingPath.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <tuple>

#include "zeScale.h"
#include "zeSharedBands.h"

namespace {

struct Tile {
    int print;
    long left, right;
    CloneStatus status = CloneStatus::Ok;
    int rank = 0; // of its identity among the contig's tiles
};

// An end clone is looked for among the clones whose end lies within this
// many band units of the contig's end.
const long END_WINDOW = 12;

bool matchesAny(int band, const std::vector<int>& bands, int tolerance) {
    auto at = std::lower_bound(bands.begin(), bands.end(), band - tolerance);
    return at != bands.end() && *at <= band + tolerance;
}

// The clone that most likely reaches furthest past one end of the contig
// (side +1: the right end, -1: the left). The layout cannot tell: the bands
// of a clone beyond all the others are shared with none, so they look like
// its extra bands and its place is drawn in; such a clone is often buried.
// So each clone near the end scores its bands that no other clone of the
// contig has, less how far its end falls short of the contig's; the
// highest score wins, then an ok clone, then the further end, then the
// lowest identity.
size_t endTile(const std::vector<Fingerprint>& prints, const std::vector<Tile>& tiles, int side,
               int tolerance) {
    auto reach = [&](const Tile& t) { return side > 0 ? t.right : -t.left; };
    long end = reach(tiles.front());
    for (const Tile& t : tiles)
        end = std::max(end, reach(t));
    size_t best = 0;
    long bestScore = LONG_MIN;
    for (size_t i = 0; i < tiles.size(); ++i) {
        const Tile& t = tiles[i];
        if (reach(t) < end - END_WINDOW) continue;
        long own = 0;
        for (int band : prints[t.print].bands) {
            bool elsewhere = false;
            for (size_t k = 0; k < tiles.size() && !elsewhere; ++k)
                elsewhere = k != i && matchesAny(band, prints[tiles[k].print].bands, tolerance);
            own += !elsewhere;
        }
        long score = own + reach(t) - end;
        const Tile& b = tiles[best];
        if (bestScore == LONG_MIN ||
            std::make_tuple(-score, t.status != CloneStatus::Ok, -reach(t), t.rank) <
                std::make_tuple(-bestScore, b.status != CloneStatus::Ok, -reach(b), b.rank)) {
            best = i;
            bestScore = score;
        }
    }
    return best;
}

struct Step {
    int to; // index into the contig's tiles
    int shared;
    int evidence; // the least of the overlap in the layout and the bands shared beyond chance
    bool weak;
};

// The bands two fingerprints of n1 and n2 bands share by chance, as the
// pair score counts them (zeSulston.h): each band of the one with fewer
// lies within the tolerance of a band of the other with the chance
// 1 - (1 - 2 t / scale)^nH.
int chanceShared(int n1, int n2, int tolerance) {
    int nL = std::min(n1, n2), nH = std::max(n1, n2);
    double b = 2.0 * tolerance / NORM_SCALE_LENGTH;
    if (b >= 1) return nL;
    return (int)std::lround(nL * -std::expm1(nH * std::log1p(-b)));
}

// The steps out of each tile (tiles ordered by left, then right), as
// ranges of one array; every step leads to a later tile, so the order of
// the tiles is an order of the steps' graph.
struct StepGraph {
    std::vector<size_t> first{0};
    std::vector<Step> steps;
};

StepGraph stepGraph(const std::vector<Fingerprint>& prints, const std::vector<Tile>& tiles,
                    int minShared, int tolerance) {
    StepGraph g;
    auto add = [&](size_t i, size_t j, bool gap) {
        const std::vector<int>& a = prints[tiles[i].print].bands;
        const std::vector<int>& b = prints[tiles[j].print].bands;
        int shared = sharedBands(a.data(), (int)a.size(), b.data(), (int)b.size(), tolerance);
        long overlap = tiles[i].right - tiles[j].left;
        int beyondChance = shared - chanceShared((int)a.size(), (int)b.size(), tolerance);
        int evidence = gap ? 0 : (int)std::max(0L, std::min<long>(overlap, beyondChance));
        g.steps.push_back({(int)j, shared, evidence, evidence < minShared});
    };
    for (size_t i = 0; i < tiles.size(); ++i) {
        size_t j = i + 1, before = g.steps.size();
        for (; j < tiles.size() && tiles[j].left < tiles[i].right; ++j)
            if (tiles[j].right > tiles[i].right) add(i, j, false);
        if (g.steps.size() == before && j < tiles.size())
            for (size_t k = j; k < tiles.size() && tiles[k].left == tiles[j].left; ++k)
                add(i, k, true);
        g.first.push_back(g.steps.size());
    }
    return g;
}

// A path to a tile, as far as the choice needs it.
struct Reach {
    bool reached = false;
    int weak = 0, count = 0;
    int weakest = INT_MAX; // the fewest bands of any of its steps
};

// Ways of ordering reaches, best first, for which the best way to a tile
// is the best way to one before it and a step: the weakest overlap only
// ever lessens along a path, so a better one stays at least as good.
bool betterByCount(const Reach& a, const Reach& b) {
    return std::make_tuple(a.weak, a.count, -(long)a.weakest) <
           std::make_tuple(b.weak, b.count, -(long)b.weakest);
}

bool betterByWeakest(const Reach& a, const Reach& b) {
    return std::make_tuple(a.weak, -(long)a.weakest) < std::make_tuple(b.weak, -(long)b.weakest);
}

// The best reach of any last tile, from any first one, by `better`.
template <class Better>
Reach bestReach(const std::vector<Tile>& tiles, const StepGraph& g, long lowest, long highest,
                Better better) {
    std::vector<Reach> at(tiles.size());
    Reach best;
    for (size_t i = 0; i < tiles.size(); ++i) {
        if (tiles[i].left == lowest) {
            Reach start{true, 0, 1, INT_MAX};
            if (!at[i].reached || better(start, at[i])) at[i] = start;
        }
        if (!at[i].reached) continue;
        if (tiles[i].right == highest && (!best.reached || better(at[i], best))) best = at[i];
        for (size_t s = g.first[i]; s < g.first[i + 1]; ++s) {
            const Step& step = g.steps[s];
            Reach next{true, at[i].weak + step.weak, at[i].count + 1,
                       std::min(at[i].weakest, step.evidence)};
            Reach& there = at[(size_t)step.to];
            if (!there.reached || better(next, there)) there = next;
        }
    }
    return best;
}

// Ranks of the tiles' clone identities (clone, gel, ordinal, as text),
// for the last of the ties.
void rankIdentities(const std::vector<Fingerprint>& prints, std::vector<Tile>& tiles) {
    std::vector<size_t> order(tiles.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    auto key = [&](size_t i) {
        const Fingerprint& f = prints[tiles[i].print];
        return std::make_tuple(std::cref(f.clone), std::cref(f.gel), std::to_string(f.ordinal),
                               tiles[i].print);
    };
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return key(a) < key(b); });
    for (size_t r = 0; r < order.size(); ++r)
        tiles[order[r]].rank = (int)r;
}

// The path of one contig's placed clones (at least one): from its end
// clone at the left to the one at the right, through ok clones.
std::vector<TilingStep> contigPath(const std::vector<Fingerprint>& prints,
                                   std::vector<Tile> placed, int minShared, int tolerance) {
    rankIdentities(prints, placed);
    size_t first = endTile(prints, placed, -1, tolerance);
    size_t last = endTile(prints, placed, +1, tolerance);
    if (first == last) return {{placed[first].print, -1, false}};
    std::vector<Tile> tiles;
    long lowest = placed[first].left, highest = placed[last].right;
    for (size_t i = 0; i < placed.size(); ++i)
        if (i == first || i == last || placed[i].status == CloneStatus::Ok) {
            tiles.push_back(placed[i]);
            lowest = std::min(lowest, placed[i].left);
            highest = std::max(highest, placed[i].right);
        }
    // The end clones alone at the ends: the first moved left of all, the
    // last's end right of all. Only the first's left and the last's right
    // move, which no overlap of a step from the one or to the other uses.
    for (Tile& t : tiles) {
        if (t.print == placed[first].print) t.left = lowest - 1;
        if (t.print == placed[last].print) t.right = highest + 1;
    }
    --lowest;
    ++highest;
    std::sort(tiles.begin(), tiles.end(), [](const Tile& a, const Tile& b) {
        return std::make_tuple(a.left, a.right, a.rank) < std::make_tuple(b.left, b.right, b.rank);
    });
    StepGraph g = stepGraph(prints, tiles, minShared, tolerance);

    // The weakest overlap the chosen path has, then the steps of at least
    // that many bands, over which the path is the one of the fewest weak
    // steps and clones with the lowest identities.
    Reach best = bestReach(tiles, g, lowest, highest, betterByCount);
    if (!best.reached) return {};
    if (best.weak > 0) best = bestReach(tiles, g, lowest, highest, betterByWeakest);
    const int least = best.weakest;

    // The fewest (weak steps, clones) from each tile to a last one.
    const std::pair<int, int> none{INT_MAX, INT_MAX};
    std::vector<std::pair<int, int>> rest(tiles.size(), none);
    for (size_t i = tiles.size(); i-- > 0;) {
        if (tiles[i].right == highest) {
            rest[i] = {0, 1};
            continue;
        }
        for (size_t s = g.first[i]; s < g.first[i + 1]; ++s) {
            const Step& step = g.steps[s];
            const std::pair<int, int>& after = rest[(size_t)step.to];
            if (step.evidence < least || after == none) continue;
            rest[i] = std::min(rest[i], {after.first + step.weak, after.second + 1});
        }
    }
    std::pair<int, int> wanted = none;
    for (size_t i = 0; i < tiles.size() && tiles[i].left == lowest; ++i)
        wanted = std::min(wanted, rest[i]);

    // Walking from the left, the clone of the lowest identity that can
    // still finish a best path.
    std::vector<TilingStep> path;
    int at = -1;
    for (size_t i = 0; i < tiles.size() && tiles[i].left == lowest; ++i)
        if (rest[i] == wanted && (at < 0 || tiles[i].rank < tiles[at].rank)) at = (int)i;
    path.push_back({tiles[at].print, -1, false});
    while (tiles[at].right != highest) {
        const Step* chosen = nullptr;
        for (size_t s = g.first[at]; s < g.first[at + 1]; ++s) {
            const Step& step = g.steps[s];
            const std::pair<int, int>& after = rest[(size_t)step.to];
            if (step.evidence < least || after == none) continue;
            if (std::make_pair(after.first + (int)step.weak, after.second + 1) != rest[at])
                continue;
            if (!chosen || tiles[step.to].rank < tiles[chosen->to].rank) chosen = &step;
        }
        at = chosen->to;
        path.push_back({tiles[at].print, chosen->shared, chosen->weak});
    }
    return path;
}

} // namespace

std::vector<std::vector<TilingStep>> tilingPaths(const std::vector<Fingerprint>& prints,
                                                 const ContigMap& map, int minShared,
                                                 int tolerance) {
    std::vector<std::vector<Tile>> tiles((size_t)map.contigs);
    for (size_t v = 0; v < map.clones.size(); ++v) {
        const PlacedClone& c = map.clones[v];
        if (c.contig > 0 && c.status != CloneStatus::Chimeric)
            tiles[(size_t)c.contig - 1].push_back({(int)v, c.left, c.right, c.status, 0});
    }
    std::vector<std::vector<TilingStep>> paths(tiles.size());
    for (size_t k = 0; k < tiles.size(); ++k)
        if (!tiles[k].empty())
            paths[k] = contigPath(prints, std::move(tiles[k]), minShared, tolerance);
    return paths;
}

std::vector<std::vector<int>> tilingPrints(const std::vector<std::vector<TilingStep>>& paths) {
    std::vector<std::vector<int>> sets(paths.size());
    for (size_t k = 0; k < paths.size(); ++k) {
        for (const TilingStep& s : paths[k])
            sets[k].push_back(s.print);
        std::sort(sets[k].begin(), sets[k].end());
    }
    return sets;
}
