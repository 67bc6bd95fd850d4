#include "zeSequenceChains.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

struct Match {
    int band;     // sequence band
    double place; // map fragment's place in its contig
};

// The longest chain of `matches` (sorted by band, then place) on one
// strand; the chosen ones are marked used. Empty when none has two.
std::vector<size_t> longestChain(const std::vector<Match>& matches, const std::vector<char>& used,
                                 int strand, const ChainSettings& s) {
    const size_t n = matches.size();
    std::vector<int> length(n, 0);
    std::vector<long> before(n, -1);
    std::vector<double> miss(n, 0);
    std::vector<size_t> first(n, 0);
    long best = -1;
    // A step of more fragments than this is taken as two chains.
    const int LONGEST_STEP = 40;
    for (size_t i = 0; i < n; ++i) {
        if (used[i]) continue;
        length[i] = 1;
        first[i] = i;
        for (size_t j = i; j-- > 0;) {
            int step = matches[i].band - matches[j].band;
            if (step > LONGEST_STEP) break;
            if (used[j] || step <= 0) continue;
            double off = std::fabs(strand * (matches[i].place - matches[j].place) - s.unitsPerBand * step);
            if (off > s.window + s.slack * step) continue;
            // Nor may the chain drift from the line through its first match.
            const Match& start = matches[first[j]];
            int run = matches[i].band - start.band;
            if (std::fabs(strand * (matches[i].place - start.place) - s.unitsPerBand * run) >
                s.window + s.slack * run)
                continue;
            double total = miss[j] + off;
            if (length[j] + 1 > length[i] || (length[j] + 1 == length[i] && total < miss[i])) {
                length[i] = length[j] + 1;
                before[i] = (long)j;
                first[i] = first[j];
                miss[i] = total;
            }
        }
        if (best < 0 || length[i] > length[best] ||
            (length[i] == length[best] && miss[i] < miss[best]))
            best = (long)i;
    }
    std::vector<size_t> chain;
    if (best < 0 || length[best] < 2) return chain;
    for (long v = best; v >= 0; v = before[v])
        chain.push_back((size_t)v);
    std::reverse(chain.begin(), chain.end());
    return chain;
}

} // namespace

double matchTolerance(const ChainSettings& s) {
    return s.tolerance / std::sqrt(2.0);
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

std::vector<Chain> findChains(const std::vector<SequenceBand>& seq, const PlaceMap& map,
                              const ChainSettings& s) {
    std::vector<Chain> chains;
    const std::vector<MapFragment>& frags = map.fragments;
    if (frags.empty() || seq.empty()) return chains;
    const double tolerance = matchTolerance(s);
    std::map<int, std::vector<Match>> byContig;
    double qSum = 0;
    long total = 0;
    for (size_t k = 0; k < seq.size(); ++k) {
        auto lo = std::lower_bound(frags.begin(), frags.end(), seq[k].units - tolerance,
                                   [](const MapFragment& f, double v) { return f.units < v; });
        auto hi = std::upper_bound(lo, frags.end(), seq[k].units + tolerance,
                                   [](double v, const MapFragment& f) { return v < f.units; });
        double share = (double)(hi - lo) / (double)frags.size();
        qSum += -std::expm1(-map.density * (2 * s.window + 1) * share);
        for (auto f = lo; f != hi; ++f)
            byContig[f->contig].push_back({(int)k, f->at});
        total += hi - lo;
    }
    const double q = qSum / (double)seq.size();
    const double logStarts = std::log(2.0 * (double)std::max(1L, total));
    for (auto& entry : byContig) {
        std::vector<Match>& matches = entry.second;
        std::sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
            return a.band != b.band ? a.band < b.band : a.place < b.place;
        });
        for (int strand : {1, -1}) {
            std::vector<char> used(matches.size(), 0);
            for (int round = 0; round < CHAINS_PER_STRAND; ++round) {
                std::vector<size_t> picked = longestChain(matches, used, strand, s);
                if (picked.empty()) break;
                Chain c;
                c.contig = entry.first;
                c.strand = strand;
                for (size_t v : picked) {
                    c.bands.push_back(matches[v].band);
                    c.places.push_back(matches[v].place);
                }
                // Every match of the chain's sequence bands is spent.
                for (size_t v = 0; v < matches.size(); ++v)
                    if (matches[v].band >= c.first() && matches[v].band <= c.last() &&
                        std::binary_search(c.bands.begin(), c.bands.end(), matches[v].band))
                        used[v] = 1;
                c.logChance = logStarts + logBinomialTail(c.matched() - 1, c.last() - c.first(), q);
                chains.push_back(std::move(c));
            }
        }
    }
    return chains;
}
