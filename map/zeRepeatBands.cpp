#include "zeRepeatBands.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "zeSharedBands.h"
#include "zeSulston.h"
#include "zeUnionFind.h"

namespace {

// Adds one to the count of every band of a that the walk of sharedBands
// matches with a band of b.
void countMatches(const std::vector<int>& a, const std::vector<int>& b, int tolerance, int* depth) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        int d = a[i] - b[j];
        if (d > tolerance) {
            ++j;
        } else if (d < -tolerance) {
            ++i;
        } else {
            ++depth[i];
            ++i;
            ++j;
        }
    }
}

// The bands of fingerprint k that are not repeat bands.
void plainBands(const std::vector<Fingerprint>& prints, const BandDepths& depths, int limit, int k,
                std::vector<int>& out) {
    out.clear();
    const std::vector<int>& bands = prints[(size_t)k].bands;
    for (size_t i = 0; i < bands.size(); ++i)
        if (depths.depth[depths.start[(size_t)k] + i] <= limit) out.push_back(bands[i]);
}

// Adds the pair's shared bands to both fingerprints' counts.
void countPairBands(const std::vector<Fingerprint>& prints, int first, int second, int tolerance,
                    BandDepths& d) {
    const std::vector<int>& a = prints[(size_t)first].bands;
    const std::vector<int>& b = prints[(size_t)second].bands;
    countMatches(a, b, tolerance, &d.depth[d.start[(size_t)first]]);
    countMatches(b, a, tolerance, &d.depth[d.start[(size_t)second]]);
}

} // namespace

BandDepths bandDepths(const std::vector<Fingerprint>& prints, const std::vector<PairScore>& pairs,
                      int tolerance, const std::vector<std::pair<int, int>>& looser) {
    BandDepths d;
    d.start.reserve(prints.size() + 1);
    d.start.push_back(0);
    for (const Fingerprint& f : prints)
        d.start.push_back(d.start.back() + f.bands.size());
    d.depth.assign(d.start.back(), 0);
    for (const PairScore& p : pairs)
        countPairBands(prints, p.first, p.second, tolerance, d);
    for (const std::pair<int, int>& p : looser)
        countPairBands(prints, p.first, p.second, tolerance, d);
    return d;
}

ScannedPairs scanWithBandDepths(const std::vector<Fingerprint>& prints, const MapSettings& s) {
    ScannedPairs scanned;
    size_t bands = 0;
    for (const Fingerprint& f : prints)
        bands += f.bands.size();
    const size_t mostHeld = bands * sizeof(int) / sizeof(std::pair<int, int>);
    std::vector<std::pair<int, int>> looser;
    bool counting = false;
    ScanSettings scan;
    scan.tolerance = s.tolerance;
    scan.cutoff = std::max(s.cutoff, s.repeatDepthCutoff);
    scan.threads = s.threads;
    scanPairs(prints, scan, [&](const std::vector<PairScore>& rows) {
        for (const PairScore& p : rows) {
            if (p.score <= s.cutoff) {
                scanned.passing.push_back(p);
            } else if (counting) {
                countPairBands(prints, p.first, p.second, s.tolerance, scanned.depths);
            } else {
                looser.emplace_back(p.first, p.second);
                if (looser.size() > mostHeld) {
                    scanned.depths = bandDepths(prints, {}, s.tolerance, looser);
                    std::vector<std::pair<int, int>>().swap(looser);
                    counting = true;
                }
            }
        }
        return true;
    });
    if (!counting) {
        scanned.depths = bandDepths(prints, scanned.passing, s.tolerance, looser);
        scanned.looser = std::move(looser);
    } else {
        for (const PairScore& p : scanned.passing)
            countPairBands(prints, p.first, p.second, s.tolerance, scanned.depths);
    }
    return scanned;
}

int typicalDepth(const BandDepths& depths) {
    std::vector<long> weight;
    long total = 0;
    for (int d : depths.depth) {
        if (d <= 0) continue;
        if ((size_t)d >= weight.size()) weight.resize((size_t)d + 1, 0);
        weight[(size_t)d] += d;
        total += d;
    }
    long seen = 0;
    for (size_t d = 0; d < weight.size(); ++d) {
        seen += weight[d];
        if (2 * seen >= total && total > 0) return (int)d;
    }
    return 0;
}

RepeatFindings withoutRepeatJoins(const std::vector<Fingerprint>& prints,
                                  std::vector<PairScore> pairs, const MapSettings& s) {
    const BandDepths depths = bandDepths(prints, pairs, s.tolerance);
    return withoutRepeatJoins(prints, std::move(pairs), depths, s);
}

RepeatFindings withoutRepeatJoins(const std::vector<Fingerprint>& prints,
                                  std::vector<PairScore> pairs, const BandDepths& depths,
                                  const MapSettings& s) {
    const int n = (int)prints.size();
    RepeatFindings found;
    found.depthLimit = (int)std::floor(s.repeatDepthFactor * typicalDepth(depths));
    std::vector<char> hasRepeat((size_t)n, 0);
    for (int k = 0; k < n; ++k)
        for (size_t i = depths.start[(size_t)k]; i < depths.start[(size_t)k + 1]; ++i)
            if (depths.depth[i] > found.depthLimit) {
                ++found.repeatBands;
                hasRepeat[(size_t)k] = 1;
            }

    // Pairs that still pass on their plain bands hold groups together.
    std::vector<char> plain(pairs.size(), 1);
    UnionFind groups(n);
    std::vector<int> a, b;
    // The pair's score on the two clones' bands less their repeat bands.
    auto plainScore = [&](const PairScore& p) {
        plainBands(prints, depths, found.depthLimit, p.first, a);
        plainBands(prints, depths, found.depthLimit, p.second, b);
        return scoreBands(a, b, s.tolerance).score;
    };
    for (size_t k = 0; k < pairs.size(); ++k) {
        const PairScore& p = pairs[k];
        if (hasRepeat[(size_t)p.first] || hasRepeat[(size_t)p.second])
            plain[k] = plainScore(p) <= s.cutoff;
        if (plain[k]) groups.unite(p.first, p.second);
    }
    // The others: within one group, or bringing a clone that no plain pair
    // holds into the one group all its other pairs point to. A clone at
    // another copy of the family shares no more of its plain bands with
    // the group's clones than chance gives, one at the group's own place
    // shares the bands of the stretch beside the copy that they both hold.
    std::vector<int> homeOf((size_t)n, -1); // a lone clone's group; -2: several
    for (size_t k = 0; k < pairs.size(); ++k) {
        if (plain[k]) continue;
        const PairScore& p = pairs[k];
        for (int side = 0; side < 2; ++side) {
            int lone = side ? p.second : p.first, other = side ? p.first : p.second;
            if (groups.sizeOf(lone) != 1 || groups.sizeOf(other) == 1) continue;
            int g = groups.find(other);
            int& home = homeOf[(size_t)lone];
            home = home == -1 || home == g ? g : -2;
        }
    }
    std::vector<char> keep(pairs.size(), 0);
    for (size_t k = 0; k < pairs.size(); ++k) {
        const PairScore& p = pairs[k];
        if (plain[k] || groups.find(p.first) == groups.find(p.second)) {
            keep[k] = 1;
            continue;
        }
        bool firstLone = groups.sizeOf(p.first) == 1, secondLone = groups.sizeOf(p.second) == 1;
        if (firstLone != secondLone) {
            int lone = firstLone ? p.first : p.second, other = firstLone ? p.second : p.first;
            keep[k] = homeOf[(size_t)lone] == groups.find(other) &&
                      plainScore(p) <= s.repeatLoneCutoff;
        }
    }
    size_t kept = 0;
    for (size_t k = 0; k < pairs.size(); ++k)
        if (keep[k]) pairs[kept++] = pairs[k];
    if (found.repeatBands > 0) {
        found.plainPrints.slot.assign((size_t)n, -1);
        for (int k = 0; k < n; ++k) {
            if (!hasRepeat[(size_t)k]) continue;
            found.plainPrints.slot[(size_t)k] = (int)found.plainPrints.prints.size();
            found.plainPrints.prints.push_back(prints[(size_t)k]);
            plainBands(prints, depths, found.depthLimit, k, found.plainPrints.prints.back().bands);
        }
    }
    found.pairsSetAside = (long)(pairs.size() - kept);
    pairs.resize(kept);
    found.kept = std::move(pairs);
    return found;
}
