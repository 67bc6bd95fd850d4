#include "zeSequenceChains.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "zeLogChance.h"

namespace {

struct Match {
    int contig;
    int band;     // sequence band
    double place; // map fragment's place in its contig
    bool close;   // its size within CLOSE_SIZE of the map fragment's tolerance
};

// The buffers of the dynamic programme, kept from one contig to the next.
struct Scratch {
    std::vector<int> length;
    std::vector<long> before;
    std::vector<double> miss;
    std::vector<size_t> first;
    std::vector<size_t> byPlace;    // the matches' local indices by place, then index
    std::vector<size_t> candidates;
};

// A step of more fragments than this is taken as two chains.
const int LONGEST_STEP = 40;

// The matches before match i (local indices, latest first: by band, then
// by place, as the dynamic programme takes them) that may precede it: a
// step of 1 to LONGEST_STEP bands, and a place within the reach of the
// longest step (a unit to spare for rounding; the programme's test is the
// exact one) of where some step puts them. Found by binary search among
// the matches by place, not by trying every match of the earlier bands.
void matchesBefore(const std::vector<Match>& matches, size_t from, size_t i, int strand,
                   const ChainSettings& s, Scratch& w) {
    const Match& mi = matches[from + i];
    const double nearest = mi.place - strand * s.unitsPerBand,
                 furthest = mi.place - strand * s.unitsPerBand * LONGEST_STEP,
                 reach = s.window + s.slack * LONGEST_STEP + 1;
    const double low = std::min(nearest, furthest) - reach, high = std::max(nearest, furthest) + reach;
    auto at = std::lower_bound(w.byPlace.begin(), w.byPlace.end(), low,
                               [&](size_t v, double x) { return matches[from + v].place < x; });
    w.candidates.clear();
    for (; at != w.byPlace.end() && matches[from + *at].place <= high; ++at) {
        int step = mi.band - matches[from + *at].band;
        if (step > 0 && step <= LONGEST_STEP) w.candidates.push_back(*at);
    }
    std::sort(w.candidates.begin(), w.candidates.end(), std::greater<size_t>());
}

// The longest chain of matches [from, to) (one contig, sorted by band,
// then place) on one strand, none of them used. Empty when none has
// FEWEST_CHAINED.
std::vector<size_t> longestChain(const std::vector<Match>& matches, size_t from, size_t to,
                                 const std::vector<char>& used, int strand, const ChainSettings& s,
                                 Scratch& w) {
    const size_t n = to - from;
    w.length.assign(n, 0);
    w.before.assign(n, -1);
    w.miss.assign(n, 0);
    w.first.assign(n, 0);
    w.byPlace.resize(n);
    for (size_t i = 0; i < n; ++i)
        w.byPlace[i] = i;
    std::sort(w.byPlace.begin(), w.byPlace.end(), [&](size_t a, size_t b) {
        return matches[from + a].place != matches[from + b].place
                   ? matches[from + a].place < matches[from + b].place
                   : a < b;
    });
    long best = -1;
    for (size_t i = 0; i < n; ++i) {
        if (used[from + i]) continue;
        const Match& mi = matches[from + i];
        w.length[i] = 1;
        w.first[i] = i;
        matchesBefore(matches, from, i, strand, s, w);
        for (size_t j : w.candidates) {
            const Match& mj = matches[from + j];
            int step = mi.band - mj.band;
            if (used[from + j]) continue;
            double off = std::fabs(strand * (mi.place - mj.place) - s.unitsPerBand * step);
            if (off > s.window + s.slack * step) continue;
            // Nor may the chain drift from the line through its first match.
            const Match& start = matches[from + w.first[j]];
            int run = mi.band - start.band;
            if (std::fabs(strand * (mi.place - start.place) - s.unitsPerBand * run) >
                s.window + s.slack * run)
                continue;
            double total = w.miss[j] + off;
            if (w.length[j] + 1 > w.length[i] ||
                (w.length[j] + 1 == w.length[i] && total < w.miss[i])) {
                w.length[i] = w.length[j] + 1;
                w.before[i] = (long)j;
                w.miss[i] = total;
                w.first[i] = w.first[j];
            }
        }
        if (best < 0 || w.length[i] > w.length[best] ||
            (w.length[i] == w.length[best] && w.miss[i] < w.miss[best]))
            best = (long)i;
    }
    std::vector<size_t> chain;
    if (best < 0 || w.length[best] < FEWEST_CHAINED) return chain;
    for (long v = best; v >= 0; v = w.before[v])
        chain.push_back(from + (size_t)v);
    std::reverse(chain.begin(), chain.end());
    return chain;
}

// The number of distinct sequence bands of matches [from, to), sorted by band.
int bandsOf(const std::vector<Match>& matches, size_t from, size_t to) {
    int n = 0;
    for (size_t v = from; v < to; ++v)
        n += v == from || matches[v].band != matches[v - 1].band;
    return n;
}

// Only the matches on contigs that FEWEST_CHAINED or more of the
// sequence's bands match can make a chain: the others, most of them on a
// map of many contigs, are dropped before the matches are sorted. The
// matches come band by band. The tallies by contig are kept from one
// sequence to the next (and cleared after each), so that a sequence's
// cost is its matches', not the map's contigs'.
void keepChainable(std::vector<Match>& matches, size_t contigs) {
    static thread_local std::vector<int> lastBand, bands;
    static thread_local std::vector<int> touched;
    if (lastBand.size() < contigs) {
        lastBand.assign(contigs, -1);
        bands.assign(contigs, 0);
    }
    touched.clear();
    for (const Match& m : matches) {
        const size_t c = (size_t)m.contig;
        if (lastBand[c] == m.band) continue;
        if (lastBand[c] < 0) touched.push_back(m.contig);
        lastBand[c] = m.band;
        ++bands[c];
    }
    size_t kept = 0;
    for (const Match& m : matches)
        if (bands[(size_t)m.contig] >= FEWEST_CHAINED) matches[kept++] = m;
    matches.resize(kept);
    for (int c : touched) {
        lastBand[(size_t)c] = -1;
        bands[(size_t)c] = 0;
    }
}

} // namespace

double matchTolerance(const ChainSettings& s) {
    return s.tolerance / std::sqrt(2.0);
}

double fragmentTolerance(const ChainSettings& s, int support) {
    return matchTolerance(s) * std::sqrt(1.0 / std::max(1, support) + SIZE_FLOOR * SIZE_FLOOR);
}

double logBinomialTail(int m, int n, double q) {
    if (m <= 0) return 0;
    if (m > n) return -INFINITY;
    if (q <= 0) return -INFINITY;
    if (q >= 1) return 0;
    double top = -INFINITY;
    std::vector<double> terms;
    for (int j = m; j <= n; ++j) {
        double t = std::lgamma(n + 1.0) - std::lgamma(j + 1.0) - std::lgamma(n - j + 1.0) +
                   j * std::log(q) + (n - j) * std::log1p(-q);
        terms.push_back(t);
        top = std::max(top, t);
    }
    double sum = 0;
    for (double t : terms)
        sum += std::exp(t - top);
    return top + std::log(sum);
}

double logPoissonBinomialTail(int m, const std::vector<double>& q) {
    const int n = (int)q.size();
    if (m <= 0) return 0;
    if (m > n) return -INFINITY;
    if (n > LONGEST_EXACT_TAIL) {
        double mean = 0;
        for (double v : q)
            mean += v;
        return logBinomialTail(m, n, mean / n);
    }
    // at[j]: log P(j successes so far), j = m standing for m or more.
    std::vector<double> at((size_t)m + 1, -INFINITY);
    at[0] = 0;
    for (double v : q) {
        const double hit = v <= 0 ? -INFINITY : std::log(std::min(1.0, v));
        const double miss = v >= 1 ? -INFINITY : std::log1p(-std::max(0.0, v));
        at[(size_t)m] = logAddExp(at[(size_t)m], at[(size_t)m - 1] + hit);
        for (int j = m - 1; j >= 1; --j)
            at[(size_t)j] = logAddExp(at[(size_t)j] + miss, at[(size_t)j - 1] + hit);
        at[0] += miss;
    }
    return at[(size_t)m];
}

double logCloseTail(int hits, int close, const std::vector<double>& q, double closeShare) {
    if (hits <= 0 && close <= 0) return 0;
    const size_t H = (size_t)std::max(0, hits), C = (size_t)std::max(0, close);
    // at[h * (C + 1) + c]: log P(h hits, c of them close, so far), the
    // last of each standing for that many or more.
    std::vector<double> at((H + 1) * (C + 1), -INFINITY), next(at.size());
    at[0] = 0;
    for (double v : q) {
        const double p = std::min(1.0, std::max(0.0, v));
        const double miss = std::log1p(-p), closeHit = std::log(p * closeShare),
                     otherHit = std::log(p * (1 - closeShare));
        std::fill(next.begin(), next.end(), -INFINITY);
        for (size_t h = 0; h <= H; ++h)
            for (size_t c = 0; c <= C; ++c) {
                const double now = at[h * (C + 1) + c];
                if (now == -INFINITY) continue;
                const size_t h1 = std::min(H, h + 1), c1 = std::min(C, c + 1);
                double& stay = next[h * (C + 1) + c];
                stay = logAddExp(stay, now + miss);
                double& other = next[h1 * (C + 1) + c];
                other = logAddExp(other, now + otherHit);
                double& near = next[h1 * (C + 1) + c1];
                near = logAddExp(near, now + closeHit);
            }
        at.swap(next);
    }
    return at.back();
}

std::vector<Chain> findChains(const std::vector<SequenceBand>& seq, const PlaceMap& map,
                              const ChainSettings& s) {
    std::vector<Chain> chains;
    const std::vector<MapFragment>& frags = map.fragments;
    // Fewer bands than a chain's fewest matches: no contig can hold one.
    if (frags.empty() || (int)seq.size() < FEWEST_CHAINED) return chains;
    const double widest = fragmentTolerance(s, 1);
    std::vector<Match> matches;
    std::vector<double> q(seq.size());
    for (size_t k = 0; k < seq.size(); ++k) {
        auto lo = std::lower_bound(frags.begin(), frags.end(), seq[k].units - widest,
                                   [](const MapFragment& f, double v) { return f.units < v; });
        auto hi = std::upper_bound(lo, frags.end(), seq[k].units + widest,
                                   [](double v, const MapFragment& f) { return v < f.units; });
        long near = 0;
        for (auto f = lo; f != hi; ++f)
            if (std::fabs(f->units - seq[k].units) <= fragmentTolerance(s, f->support)) {
                matches.push_back({f->contig, (int)k, f->at,
                                   std::fabs(f->units - seq[k].units) <=
                                       CLOSE_SIZE * fragmentTolerance(s, f->support)});
                ++near;
            }
        double share = (double)near / (double)frags.size();
        q[k] = -std::expm1(-map.density * (2 * s.window + 1) * share);
    }
    const double logStarts = std::log(2.0 * (double)std::max<size_t>(1, matches.size()));
    keepChainable(matches, map.contigs.size());
    std::sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
        if (a.contig != b.contig) return a.contig < b.contig;
        return a.band != b.band ? a.band < b.band : a.place < b.place;
    });
    Scratch scratch;
    std::vector<char> used(matches.size(), 0);
    for (size_t from = 0, to = 0; from < matches.size(); from = to) {
        for (to = from; to < matches.size() && matches[to].contig == matches[from].contig; ++to) {
        }
        if (bandsOf(matches, from, to) < FEWEST_CHAINED) continue;
        for (int strand : {1, -1}) {
            std::fill(used.begin() + (long)from, used.begin() + (long)to, 0);
            for (int round = 0; round < CHAINS_PER_STRAND; ++round) {
                std::vector<size_t> picked = longestChain(matches, from, to, used, strand, s, scratch);
                if (picked.empty()) break;
                Chain c;
                c.contig = matches[from].contig;
                c.strand = strand;
                for (size_t v : picked) {
                    c.bands.push_back(matches[v].band);
                    c.places.push_back(matches[v].place);
                }
                // Every match of the chain's sequence bands is spent.
                for (size_t v = from; v < to; ++v)
                    if (matches[v].band >= c.first() && matches[v].band <= c.last() &&
                        std::binary_search(c.bands.begin(), c.bands.end(), matches[v].band))
                        used[v] = 1;
                std::vector<double> trials(q.begin() + c.first() + 1, q.begin() + c.last() + 1);
                int close = 0;
                for (size_t t = 1; t < picked.size(); ++t)
                    close += matches[picked[t]].close;
                double loose = logPoissonBinomialTail(c.matched() - 1, trials);
                double tight = close > 0 && trials.size() <= (size_t)LONGEST_EXACT_TAIL
                                   ? logCloseTail(c.matched() - 1, close, trials, CLOSE_SIZE)
                                   : 0;
                c.logChance = logStarts + std::log(2.0) + std::min(loose, tight);
                chains.push_back(std::move(c));
            }
        }
    }
    return chains;
}
