#include "zeCloneStrand.h"

#include <algorithm>
#include <cmath>

#include "zeLogChance.h"
#include "zeSharedBands.h"

namespace {

// The settings the header tells of.
const double CLONE_MISS = 0.04;
const double END_PER_GAP = 0.029;
const double MOST_ENDS = 0.9;
const double LAYOUT_SPREAD = 3;
const double SHIFT = 3;
const double SHARED_EXCESS = 6;

struct SeenClone {
    const MapClone* clone;
    std::vector<char> held; // of each fragment of the piece
    int count = 0;          // fragments held
};

bool holds(const MapClone& clone, double units, double tolerance) {
    auto near = std::lower_bound(clone.units.begin(), clone.units.end(), units - tolerance);
    return near != clone.units.end() && *near <= units + tolerance;
}

// The share of sizes a clone's bands match by chance.
double chanceMatch(const MapClone& clone, double tolerance) {
    if (clone.units.empty()) return 0.01;
    double range = clone.units.back() - clone.units.front() + 2 * tolerance;
    return std::clamp((double)clone.units.size() * 2 * tolerance / range, 0.01, 0.5);
}

// The log chances of what a clone holds: over the whole piece, beside it,
// over its first fragments only, over its last only.
struct PatternChances {
    double whole, beside, first, last;
};

PatternChances patternChances(const std::vector<char>& held, double chance) {
    const size_t n = held.size();
    const double shown = std::log1p(-CLONE_MISS), missed = std::log(CLONE_MISS),
                 byChance = std::log(chance), notByChance = std::log1p(-chance);
    // over[j]: fragments 0..j-1 as a clone over them; apart[j]: as one not.
    std::vector<double> over(n + 1, 0), apart(n + 1, 0);
    for (size_t k = 0; k < n; ++k) {
        over[k + 1] = over[k] + (held[k] ? shown : missed);
        apart[k + 1] = apart[k] + (held[k] ? byChance : notByChance);
    }
    PatternChances p{over[n], apart[n], -INFINITY, -INFINITY};
    for (size_t j = 1; j < n; ++j) {
        p.first = logAddExp(p.first, over[j] + apart[n] - apart[j]);
        p.last = logAddExp(p.last, apart[j] + over[n] - over[j]);
    }
    // An end in any gap between two fragments alike, half of them a left
    // end: the more fragments, the likelier a clone over them ends inside.
    const double ends = std::min(MOST_ENDS, END_PER_GAP * (double)(n - 1));
    const double cut = std::log(ends / 2 / (double)(n - 1)), other = std::log((1 - ends) / 2);
    p.whole += other;
    p.beside += other;
    p.first += cut;
    p.last += cut;
    return p;
}

// The chance that a clone reaches out to the left of the piece centred
// at `middle`.
double leftSide(const SeenClone& c, const std::vector<const SeenClone*>& apart, double middle,
                double tolerance) {
    const MapClone& clone = *c.clone;
    const double range = clone.units.empty() ? 1 : std::max(1.0, clone.units.back() - clone.units.front());
    double reach = 0; // bands shared beyond chance with the clones apart on the right, less the left
    for (const SeenClone* other : apart) {
        if (other == &c) continue;
        double expected = (double)clone.units.size() * (double)other->clone->units.size() * 2 * tolerance / range;
        const std::vector<double>& theirs = other->clone->units;
        double excess = sharedBands(clone.units.data(), (int)clone.units.size(), theirs.data(),
                                    (int)theirs.size(), tolerance) -
                        expected;
        if (excess >= SHARED_EXCESS)
            reach += ((double)(other->clone->left + other->clone->right) / 2 > middle ? 1 : -1) * excess;
    }
    double offset = (double)(clone.left + clone.right) / 2 - middle;
    double byLayout = std::clamp(0.5 * std::erfc(offset / (LAYOUT_SPREAD * std::sqrt(2.0))), 1e-9, 1 - 1e-9);
    double logOdds = std::log(byLayout / (1 - byLayout)) - reach;
    return std::clamp(1 / (1 + std::exp(-logOdds)), 1e-9, 1 - 1e-9);
}

} // namespace

StrandEvidence cloneStrand(const std::vector<SequenceBand>& bands, int fromBand, int toBand,
                           const ContigClones& contig, long left, long right, double tolerance) {
    StrandEvidence e;
    const int n = toBand - fromBand + 1;
    if (n < 2) return e;
    std::vector<SeenClone> seen;
    for (const MapClone& clone : clonesNear(contig, left - contig.longest, right + contig.longest)) {
        SeenClone c{&clone, std::vector<char>((size_t)n), 0};
        for (int k = 0; k < n; ++k)
            c.count += c.held[(size_t)k] = holds(clone, bands[(size_t)(fromBand + k)].units, tolerance);
        seen.push_back(std::move(c));
    }
    // Apart: holding next to none of the piece, and not laid out within it
    // (a clone inside a long piece holds a fifth of it or less).
    std::vector<const SeenClone*> apart;
    for (const SeenClone& c : seen)
        if (c.count <= std::max(1, n / 5) && (c.clone->left < left || c.clone->right > right))
            apart.push_back(&c);
    const double middle = (double)(left + right) / 2, from = (double)left - SHIFT,
                 to = (double)right + SHIFT;
    double ratio = 0;
    for (const SeenClone& c : seen) {
        if ((double)c.clone->left >= to || (double)c.clone->right <= from) continue;
        PatternChances p = patternChances(c.held, chanceMatch(*c.clone, tolerance));
        const double toLeft = std::log(leftSide(c, apart, middle, tolerance));
        const double toRight = std::log1p(-std::exp(toLeft));
        const double rest = logAddExp(p.whole, p.beside);
        // Under +, a clone out to the left holds the first fragments.
        const double plus = logAddExp(rest, logAddExp(toLeft + p.first, toRight + p.last));
        const double minus = logAddExp(rest, logAddExp(toLeft + p.last, toRight + p.first));
        ratio += plus - minus;
    }
    if (ratio != 0 && std::isfinite(ratio)) {
        e.strand = ratio > 0 ? 1 : -1;
        e.weight = std::fabs(ratio);
    }
    return e;
}
