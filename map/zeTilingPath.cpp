#include "zeTilingPath.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <tuple>

#include "zeChanceBands.h"
#include "zeSharedBands.h"

namespace {

struct Tile {
    int print;
    long left, right;
    CloneStatus status = CloneStatus::Ok;
    int rank = 0; // of its identity among the contig's tiles
};

// An end clone is looked for among the clones whose end lies within this
// many band units of the contig's end; their neighbours are the clones
// whose places come as near to theirs.
const long END_WINDOW = 12;
// A band unit an end falls short of the contig's end costs as much as
// this many of its own bands.
const long END_SHORTFALL_WEIGHT = 2;
// A band of a clone near an end is known where a clone of the path over it
// has it, or this many of the other clones over it away from the ends:
// one of them may have lost it, or match it by chance.
const int INWARD_VOTES = 2;
// A clone's own junk (extra bands, partial end fragments) is at most what
// this share of the clones away from the ends and off the paths have.
const double JUNK_SHARE = 0.99;
// Fewer such clones than this measure its 99% poorly: in a library of
// short contigs (short clones, or few bands per clone) nearly every clone
// lies near an end. The burials then measure it, where the library has at
// least BURIAL_SAMPLE.
const size_t JUNK_SAMPLE = 300;
const size_t BURIAL_SAMPLE = 30;
// A clone near an end whose inner end lies this many band units further
// out than the path's outermost clone's is drawn where a clone reaching
// past it lies: a quarter of the junk allowance less bears it out. One
// whose inner end lies no further out than that clone's mostly lies inside it:
// it needs a quarter more, and two such clones sharing fresh bands do not
// bear each other out.
const long OUTWARD_GAP = 5;
// A clone near an end lies past the path's outermost clone where its fresh
// bands outnumber by this many those the outermost clone keeps with it in
// its place: each one's junk is as likely, so the lead is what the one
// reaches past the other, less what the other reaches past it.
const long PAST_LEAD = 2;
// One whose inner end lies this many band units further out than that
// clone's needs a lead of 1: it is drawn in no further than a clone
// reaching past it, and the path, which leaves out the clones it does
// without, can spend a clone on it.
const long LEAD_OUT_GAP = 3;
// Two clones sharing fresh bands bear each other out only where neither
// trails the path's outermost clone by more than this: one that does lies
// inside it, and they share bands it lost.
const long SHARED_TRAIL = 2;
// A step's overlap in the layout counts the library's junk (JUNK_SHARE)
// divided by this less: half of it.
const long LAYOUT_SLACK_SHARE = 2;

// The bands of tiles[i] that none of its neighbours in the layout has:
// farther clones would match them only by chance, and in a long contig
// nearly all of them.
long ownBands(const std::vector<Fingerprint>& prints, const std::vector<Tile>& tiles, size_t i,
              int tolerance) {
    const Tile& t = tiles[i];
    std::vector<const std::vector<int>*> near;
    for (size_t k = 0; k < tiles.size(); ++k)
        if (k != i && tiles[k].left < t.right + END_WINDOW && tiles[k].right > t.left - END_WINDOW)
            near.push_back(&prints[tiles[k].print].bands);
    long own = 0;
    for (int band : prints[t.print].bands) {
        bool elsewhere = false;
        for (size_t k = 0; k < near.size() && !elsewhere; ++k)
            elsewhere = hasBandNear(*near[k], band, tolerance);
        own += !elsewhere;
    }
    return own;
}

// The clone most likely reaching furthest past one end of the contig
// (side +1: the right end, -1: the left), the end of its core path. The
// layout cannot tell: the bands of a clone beyond all the others are
// shared with none, so they look like its extra bands and its place is
// drawn in; such a clone is often buried. So each clone near the end
// scores its own bands less END_SHORTFALL_WEIGHT times the band units its
// end falls short of the contig's. The highest score wins, then an ok
// clone, then the further end, then the lowest identity.
size_t endTile(const std::vector<Fingerprint>& prints, const std::vector<Tile>& tiles, int side,
               int tolerance) {
    auto reach = [&](const Tile& t) { return side > 0 ? t.right : -t.left; };
    long end = reach(tiles.front());
    for (const Tile& t : tiles)
        end = std::max(end, reach(t));
    struct Candidate {
        long score;
        bool notOk;
        long reach;
        int rank;
        size_t tile;
        bool operator<(const Candidate& o) const {
            return std::make_tuple(-score, notOk, -reach, rank) <
                   std::make_tuple(-o.score, o.notOk, -o.reach, o.rank);
        }
    };
    std::vector<Candidate> ranked;
    for (size_t i = 0; i < tiles.size(); ++i) {
        const Tile& t = tiles[i];
        if (reach(t) < end - END_WINDOW) continue;
        ranked.push_back(
            {ownBands(prints, tiles, i, tolerance) + END_SHORTFALL_WEIGHT * (reach(t) - end),
             t.status != CloneStatus::Ok, reach(t), t.rank, i});
    }
    return std::min_element(ranked.begin(), ranked.end())->tile;
}

struct Step {
    int to; // index into the contig's tiles
    int shared;
    int evidence; // the least of the overlap in the layout and the bands shared beyond chance
    bool weak;
};

// The step from one tile to a later one (`to` left 0); across a gap of
// the layout when `gap`. Their overlap in the layout counts `slack` band
// units less: the places may lie that far off.
Step stepBetween(const std::vector<Fingerprint>& prints, const Tile& from, const Tile& to,
                 int minShared, long slack, const ChanceBands& chance, bool gap) {
    const std::vector<int>& a = prints[from.print].bands;
    const std::vector<int>& b = prints[to.print].bands;
    int shared = sharedBands(a.data(), (int)a.size(), b.data(), (int)b.size(), chance.tolerance);
    long overlap = std::min(from.right, to.right) - std::max(from.left, to.left) - slack;
    int beyondChance = sharedBeyondChance(chance, a, b, shared);
    int evidence = gap ? 0 : (int)std::max(0L, std::min<long>(overlap, beyondChance));
    return {0, shared, evidence, evidence < minShared};
}

// The steps out of each tile (tiles ordered by left, then right), as
// ranges of one array; every step leads to a later tile, so the order of
// the tiles is an order of the steps' graph.
struct StepGraph {
    std::vector<size_t> first{0};
    std::vector<Step> steps;
};

StepGraph stepGraph(const std::vector<Fingerprint>& prints, const std::vector<Tile>& tiles,
                    int minShared, long slack, const ChanceBands& chance) {
    StepGraph g;
    auto add = [&](size_t i, size_t j, bool gap) {
        Step step = stepBetween(prints, tiles[i], tiles[j], minShared, slack, chance, gap);
        step.to = (int)j;
        g.steps.push_back(step);
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

// The path from placed[first] to placed[last] through ok and buried
// clones (a buried clone may reach a little past the one it lies in).
std::vector<TilingStep> pathBetween(const std::vector<Fingerprint>& prints,
                                    const std::vector<Tile>& placed, size_t first, size_t last,
                                    int minShared, long slack, const ChanceBands& chance) {
    if (first == last) return {{placed[first].print, -1, false}};
    std::vector<Tile> tiles;
    long lowest = placed[first].left, highest = placed[last].right;
    for (size_t i = 0; i < placed.size(); ++i)
        if (i == first || i == last || placed[i].status != CloneStatus::Q) {
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
    StepGraph g = stepGraph(prints, tiles, minShared, slack, chance);

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

// The bands of `bands` that match none of `path` and fewer than
// INWARD_VOTES of `inward`.
std::vector<int> newBands(const std::vector<int>& bands,
                          const std::vector<const std::vector<int>*>& path,
                          const std::vector<const std::vector<int>*>& inward, int tolerance) {
    std::vector<int> fresh;
    for (int band : bands) {
        bool known = false;
        for (size_t k = 0; k < path.size() && !known; ++k)
            known = hasBandNear(*path[k], band, tolerance);
        int seen = 0;
        for (size_t k = 0; k < inward.size() && !known; ++k)
            known = (seen += hasBandNear(*inward[k], band, tolerance)) >= INWARD_VOTES;
        if (!known) fresh.push_back(band);
    }
    return fresh;
}

// The tiles whose places overlap tiles[i]'s: `byLeft` orders the tiles
// by left end, and no tile is longer than `longest`.
template <class Visit>
void eachOverlapping(const std::vector<Tile>& tiles, const std::vector<size_t>& byLeft,
                     long longest, size_t i, Visit visit) {
    const Tile& t = tiles[i];
    auto from = std::lower_bound(byLeft.begin(), byLeft.end(), t.left - longest,
                                 [&](size_t k, long left) { return tiles[k].left < left; });
    for (auto it = from; it != byLeft.end() && tiles[*it].left < t.right; ++it)
        if (*it != i && tiles[*it].right > t.left) visit(*it);
}

// A contig's clones as the path sees them: its core path (end clone to
// end clone) marked, and which clones lie near an end.
struct ContigTiles {
    std::vector<Tile> tiles;
    std::vector<TilingStep> core;
    std::vector<char> onPath, nearEnd;
    std::vector<size_t> byLeft;
    long longest = 0;
    long slack = 0; // the band units a step's overlap in the layout counts less
    ChanceBands chance;
};

// The bands of tiles[i] that none of the path's clones over it has, nor
// INWARD_VOTES of the other clones over it that lie away from the ends:
// bands of the genome past the path, or its own extra bands, partial end
// fragments and bands the path's clones missed.
std::vector<int> freshBands(const std::vector<Fingerprint>& prints, const ContigTiles& c, size_t i,
                            int tolerance) {
    std::vector<const std::vector<int>*> path, inward;
    eachOverlapping(c.tiles, c.byLeft, c.longest, i, [&](size_t k) {
        if (c.onPath[k])
            path.push_back(&prints[c.tiles[k].print].bands);
        else if (!c.nearEnd[k])
            inward.push_back(&prints[c.tiles[k].print].bands);
    });
    return newBands(prints[c.tiles[i].print].bands, path, inward, tolerance);
}

// The fresh bands tiles[outer] (on the path) would keep with tiles[i]
// (off it) in its place: what the one reaches past the other.
size_t freshInPlace(const std::vector<Fingerprint>& prints, ContigTiles& c, size_t outer, size_t i,
                    int tolerance) {
    c.onPath[i] = 1;
    c.onPath[outer] = 0;
    const size_t kept = freshBands(prints, c, outer, tolerance).size();
    c.onPath[i] = 0;
    c.onPath[outer] = 1;
    return kept;
}

// The clones beyond the path's end clone at one end of the contig (side
// +1: the right end, -1: the left), outward. The layout draws a clone
// that reaches past all the others in, its bands out there being shared
// with none, and a clone reaching a few bands past another shares
// enough with it to be called buried in it. So the place of a clone near
// the end does not tell whether it reaches past the path; its bands do.
// Of the clones near the end, not on the path, each keeps its fresh bands
// (freshBands). A clone with more than `mostJunk` of them, more than a
// clone away from the ends has, lies past the path; so does one whose
// fresh bands lead by PAST_LEAD those the path's outermost clone keeps with
// it in its place (freshInPlace) and lies no more than END_WINDOW band
// units further in than that clone, and two clones sharing at least
// `leastBeyond` of them, where a band of one alone may be its own junk,
// unless one trails that clone's by more than SHARED_TRAIL. Of these, the clone with the most fresh
// bands the other lacks (then the further end, an ok clone, the lowest identity) joins the path,
// and the clones near the end are looked at again.
std::vector<size_t> beyondEnd(const std::vector<Fingerprint>& prints, ContigTiles& c, int side,
                              int leastBeyond, size_t mostJunk, int tolerance) {
    auto reach = [&](const Tile& t) { return side > 0 ? t.right : -t.left; };
    long end = reach(c.tiles.front());
    for (const Tile& t : c.tiles)
        end = std::max(end, reach(t));
    std::vector<size_t> near;
    for (size_t i = 0; i < c.tiles.size(); ++i)
        if (reach(c.tiles[i]) >= end - END_WINDOW) near.push_back(i);
    std::vector<size_t> taken;
    size_t endIndex = 0;
    const int endPrint = side < 0 ? c.core.front().print : c.core.back().print;
    while (c.tiles[endIndex].print != endPrint)
        ++endIndex;
    for (;;) {
        std::vector<size_t> open;
        std::vector<std::vector<int>> fresh;
        for (size_t i : near)
            if (!c.onPath[i]) {
                open.push_back(i);
                fresh.push_back(freshBands(prints, c, i, tolerance));
            }
        int best = -1, bestPast = 0;
        for (size_t a = 0; a < open.size(); ++a) {
            int most = 0;
            for (size_t b = 0; b < open.size(); ++b)
                if (b != a)
                    most = std::max(most,
                                    sharedBands(fresh[a].data(), (int)fresh[a].size(),
                                                fresh[b].data(), (int)fresh[b].size(), tolerance));
            // Where it lies against the path's outermost clone at this end.
            const size_t outerIndex = taken.empty() ? endIndex : taken.back();
            const Tile& outer = c.tiles[outerIndex];
            const Tile& t = c.tiles[open[a]];
            const long gap = side < 0 ? outer.right - t.right : t.left - outer.left;
            const long junk = (long)mostJunk;
            long allowed = junk;
            if (gap >= OUTWARD_GAP) allowed -= junk / 4;
            if (gap <= 0) allowed += junk / 4;
            const long own = (long)fresh[a].size();
            const long lead = own - (long)freshInPlace(prints, c, outerIndex, open[a], tolerance);
            const bool byMost = most >= leastBeyond && gap > 0 && lead >= -SHARED_TRAIL;
            // A clone lying well inward of the outermost clone does not lead
            // it: its fresh bands are then its junk, and those it would take
            // from the outermost clone match them by chance.
            const bool byLead =
                gap >= -END_WINDOW && lead >= (gap >= LEAD_OUT_GAP ? 1 : PAST_LEAD);
            if (!byMost && own <= allowed && !byLead) continue;
            auto key = [&](const Tile& u, int past) {
                return std::make_tuple(-past, -reach(u), u.status != CloneStatus::Ok, u.rank);
            };
            const int past = (int)fresh[a].size() - most;
            if (best < 0 ||
                key(c.tiles[open[a]], past) < key(c.tiles[open[(size_t)best]], bestPast)) {
                best = (int)a;
                bestPast = past;
            }
        }
        if (best < 0) return taken;
        c.onPath[open[(size_t)best]] = 1;
        taken.push_back(open[(size_t)best]);
    }
}

// A contig's placed clones (at least one) with their core path: from the
// end clone at the left to the one at the right, through ok and buried
// clones; and how its bands match those of the rest of the library by chance.
ContigTiles corePath(const std::vector<Fingerprint>& prints, std::vector<Tile> placed,
                     int minShared, long slack, const LibraryBands& library, int tolerance) {
    ContigTiles c;
    c.slack = slack;
    std::vector<int> own;
    for (const Tile& u : placed)
        own.insert(own.end(), prints[u.print].bands.begin(), prints[u.print].bands.end());
    c.chance = chanceBands(library, std::move(own), tolerance);
    rankIdentities(prints, placed);
    const size_t first = endTile(prints, placed, -1, tolerance);
    const size_t last = endTile(prints, placed, +1, tolerance);
    c.core = pathBetween(prints, placed, first, last, minShared, slack, c.chance);
    c.tiles = std::move(placed);
    const std::vector<Tile>& t = c.tiles;
    c.onPath.assign(t.size(), 0);
    for (const TilingStep& s : c.core)
        for (size_t i = 0; i < t.size(); ++i)
            if (t[i].print == s.print) c.onPath[i] = 1;
    long lowest = t.front().left, highest = t.front().right;
    for (const Tile& u : t) {
        lowest = std::min(lowest, u.left);
        highest = std::max(highest, u.right);
        c.longest = std::max(c.longest, u.right - u.left);
    }
    for (const Tile& u : t)
        c.nearEnd.push_back(u.left <= lowest + END_WINDOW || u.right >= highest - END_WINDOW);
    for (size_t i = 0; i < t.size(); ++i)
        c.byLeft.push_back(i);
    std::sort(c.byLeft.begin(), c.byLeft.end(),
              [&](size_t a, size_t b) { return t[a].left < t[b].left; });
    return c;
}

// The bands of each buried clone that the clone it lies in lacks: its own
// junk with the other's lost bands, and its bands past the other where it
// reaches a little past it.
std::vector<size_t> burialJunk(const std::vector<Fingerprint>& prints, const ContigMap& map,
                               int tolerance) {
    std::vector<size_t> counts;
    for (size_t v = 0; v < map.clones.size(); ++v) {
        const PlacedClone& c = map.clones[v];
        if (c.contig <= 0 || c.status != CloneStatus::Buried || c.buriedIn < 0) continue;
        size_t lacked = 0;
        for (int band : prints[v].bands)
            lacked += !hasBandNear(prints[(size_t)c.buriedIn].bands, band, tolerance);
        counts.push_back(lacked);
    }
    return counts;
}

// The fresh bands (freshBands) that JUNK_SHARE of the clones away from
// the contigs' ends and off their paths have at most: a clone's own junk.
// Where fewer than JUNK_SAMPLE clones lie away from the ends, and at least
// BURIAL_SAMPLE are buried, the median of the bands a buried clone's host
// lacks (burialJunk) instead: on libraries that have both, the two agree
// (4 and 4 on simulated libraries of 150 kb clones), while without any
// clone away from the ends a junk of 0 would send every clone with a band
// of its own onto the path.
size_t mostJunk(const std::vector<Fingerprint>& prints, const ContigMap& map,
                const std::vector<ContigTiles>& contigs, int tolerance) {
    std::vector<size_t> counts;
    for (const ContigTiles& c : contigs)
        for (size_t i = 0; i < c.tiles.size(); ++i)
            if (!c.onPath[i] && !c.nearEnd[i])
                counts.push_back(freshBands(prints, c, i, tolerance).size());
    if (counts.size() < JUNK_SAMPLE) {
        std::vector<size_t> burials = burialJunk(prints, map, tolerance);
        if (burials.size() >= BURIAL_SAMPLE) {
            std::nth_element(burials.begin(), burials.begin() + (long)(burials.size() / 2),
                             burials.end());
            return burials[burials.size() / 2];
        }
    }
    if (counts.empty()) return 0;
    const size_t at = std::min(counts.size() - 1, (size_t)(JUNK_SHARE * (double)counts.size()));
    std::nth_element(counts.begin(), counts.begin() + (long)at, counts.end());
    return counts[at];
}

// The bands of b that neither a nor c has.
long bandsOfNeither(const std::vector<Fingerprint>& prints, const Tile& b, const Tile& a,
                    const Tile& c, int tolerance) {
    long own = 0;
    for (int band : prints[b.print].bands)
        own += !hasBandNear(prints[a.print].bands, band, tolerance) &&
               !hasBandNear(prints[c.print].bands, band, tolerance);
    return own;
}

// Drops from `order` (the path's clones, its core at [coreFirst,
// coreEnd)) each clone at or past an end of the core whose neighbours
// on the path share at least `minShared` bands beyond chance and which
// has no more than `mostOwn` bands neither of them has (a clone's own
// junk): a clone taken past an end often covers the core's end clone,
// and the core needs it no more. The layout draws such clones in, so
// their bands, not their places, tell.
void dropNeedless(const std::vector<Fingerprint>& prints, const std::vector<Tile>& placed,
                  std::vector<size_t>& order, size_t coreFirst, size_t coreEnd, int minShared,
                  long mostOwn, const ChanceBands& chance) {
    const int tolerance = chance.tolerance;
    for (bool dropped = true; dropped;) {
        dropped = false;
        for (size_t k = 1; k + 1 < order.size() && !dropped; ++k) {
            if (k > coreFirst && k + 1 < coreEnd) continue;
            const Tile &a = placed[order[k - 1]], &b = placed[order[k]], &c = placed[order[k + 1]];
            const std::vector<int>& x = prints[a.print].bands;
            const std::vector<int>& y = prints[c.print].bands;
            const int shared =
                sharedBands(x.data(), (int)x.size(), y.data(), (int)y.size(), tolerance);
            const int beyondChance = sharedBeyondChance(chance, x, y, shared);
            if (beyondChance < minShared || bandsOfNeither(prints, b, a, c, tolerance) > mostOwn)
                continue;
            order.erase(order.begin() + (long)k);
            if (k <= coreFirst) --coreFirst;
            --coreEnd;
            dropped = true;
        }
    }
}

// The bands of placed[order[k]] that no other clone of the path whose
// place comes within END_WINDOW band units of its own has: what it alone
// brings to the path (far clones would match its bands only by chance).
long aloneOnPath(const std::vector<Fingerprint>& prints, const std::vector<Tile>& placed,
                 const std::vector<size_t>& order, size_t k, int tolerance) {
    const Tile& t = placed[order[k]];
    std::vector<const std::vector<int>*> others;
    for (size_t j = 0; j < order.size(); ++j) {
        const Tile& u = placed[order[j]];
        if (j != k && u.left < t.right + END_WINDOW && u.right > t.left - END_WINDOW)
            others.push_back(&prints[u.print].bands);
    }
    return (long)newBands(prints[t.print].bands, others, {}, tolerance).size();
}

// Drops from `order` each clone the path does without: one between two
// others whose step from one to the other is strong (stepBetween), and
// which brings no more than `mostOwn` bands that no other clone of the
// path near it has (a clone's own junk). Of these the clone bringing the
// fewest goes first (then the one of the highest identity), and the rest
// are looked at again: each drop may leave a neighbour needed.
void prunePath(const std::vector<Fingerprint>& prints, const std::vector<Tile>& placed,
               std::vector<size_t>& order, int minShared, long slack, long mostOwn,
               const ChanceBands& chance) {
    for (;;) {
        long bestOwn = 0;
        size_t best = order.size();
        for (size_t k = 1; k + 1 < order.size(); ++k) {
            const long own = aloneOnPath(prints, placed, order, k, chance.tolerance);
            if (own > mostOwn || stepBetween(prints, placed[order[k - 1]], placed[order[k + 1]],
                                             minShared, slack, chance, false)
                                     .weak)
                continue;
            if (best == order.size() || own < bestOwn ||
                (own == bestOwn && placed[order[k]].rank > placed[order[best]].rank)) {
                best = k;
                bestOwn = own;
            }
        }
        if (best == order.size()) return;
        order.erase(order.begin() + (long)best);
    }
}

// The whole path of a contig: its core with the clones beyond each end,
// outward, less the clones these make needless.
std::vector<TilingStep> contigPath(const std::vector<Fingerprint>& prints, ContigTiles& c,
                                   int minShared, int leastBeyond, size_t junk, int tolerance) {
    const std::vector<Tile>& placed = c.tiles;
    std::vector<size_t> lefts = beyondEnd(prints, c, -1, leastBeyond, junk, tolerance);
    std::vector<size_t> rights = beyondEnd(prints, c, +1, leastBeyond, junk, tolerance);

    std::vector<size_t> order(lefts.rbegin(), lefts.rend()); // indices into placed, along the path
    const size_t before = order.size();
    for (const TilingStep& s : c.core)
        for (size_t i = 0; i < placed.size(); ++i)
            if (placed[i].print == s.print) order.push_back(i);
    order.insert(order.end(), rights.begin(), rights.end());
    dropNeedless(prints, placed, order, before, before + c.core.size(), minShared, (long)junk,
                 c.chance);
    prunePath(prints, placed, order, minShared, c.slack, (long)junk - (long)junk / 4, c.chance);

    // The core's own steps where both clones are the core's, in its order.
    std::vector<TilingStep> path;
    auto coreAt = [&](size_t i) {
        for (size_t k = 0; k < c.core.size(); ++k)
            if (c.core[k].print == placed[i].print) return (long)k;
        return -1L;
    };
    for (size_t k = 0; k < order.size(); ++k) {
        const long at = coreAt(order[k]);
        if (k == 0) {
            path.push_back({placed[order[k]].print, -1, false});
        } else if (at > 0 && coreAt(order[k - 1]) == at - 1) {
            path.push_back(c.core[(size_t)at]);
        } else {
            Step step = stepBetween(prints, placed[order[k - 1]], placed[order[k]], minShared,
                                    c.slack, c.chance, false);
            path.push_back({placed[order[k]].print, step.shared, step.weak});
        }
    }
    return path;
}

} // namespace

std::vector<std::vector<TilingStep>> tilingPaths(const std::vector<Fingerprint>& prints,
                                                 const ContigMap& map, int minShared,
                                                 int tolerance, size_t* junkOut) {
    std::vector<std::vector<Tile>> tiles((size_t)map.contigs);
    for (size_t v = 0; v < map.clones.size(); ++v) {
        const PlacedClone& c = map.clones[v];
        if (c.contig > 0 && c.status != CloneStatus::Chimeric)
            tiles[(size_t)c.contig - 1].push_back({(int)v, c.left, c.right, c.status, 0});
    }
    std::vector<const std::vector<int>*> every;
    for (const Fingerprint& f : prints)
        every.push_back(&f.bands);
    const LibraryBands library = libraryBands(every);
    auto corePaths = [&](long slack) {
        std::vector<ContigTiles> contigs(tiles.size());
        for (size_t k = 0; k < tiles.size(); ++k)
            if (!tiles[k].empty())
                contigs[k] = corePath(prints, tiles[k], minShared, slack, library, tolerance);
        return contigs;
    };
    std::vector<ContigTiles> contigs = corePaths(0);
    // Measured over the whole library before any contig's ends are looked
    // at, so that a contig's path does not depend on the others' order.
    const size_t junk = mostJunk(prints, map, contigs, tolerance);
    if (junkOut) *junkOut = junk;
    // A clone's junk makes each of its offsets too long by half its number
    // (zeLayout.h), so its place may lie that far off: the core paths again,
    // a step's overlap in the layout counting that much less.
    // The first paths go before the second are built, so that the two are
    // never held at once.
    if (const long slack = (long)junk / LAYOUT_SLACK_SHARE) {
        std::vector<ContigTiles>().swap(contigs);
        contigs = corePaths(slack);
    }
    std::vector<std::vector<TilingStep>> paths(tiles.size());
    for (size_t k = 0; k < contigs.size(); ++k)
        if (!contigs[k].tiles.empty())
            paths[k] =
                contigPath(prints, contigs[k], minShared, DEFAULT_MTP_BEYOND, junk, tolerance);
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
