#include "zePlacement.h"

#include <algorithm>
#include <cmath>

#include "zeCloneStrand.h"

namespace {

struct Piece {
    Chain chain;
    std::vector<Chain> rivals;
};

int overlap(const Chain& a, const Chain& b) {
    return std::min(a.last(), b.last()) - std::max(a.first(), b.first()) + 1;
}

// Whether two chains claim one place: one contig, places overlapping. Where
// the map's places are too close to tell the order, both strands fit one
// place; the better chain gives the strand.
bool samePlace(const Chain& a, const Chain& b) {
    if (a.contig != b.contig) return false;
    auto lowHigh = [](const Chain& c) {
        return std::make_pair(*std::min_element(c.places.begin(), c.places.end()),
                              *std::max_element(c.places.begin(), c.places.end()));
    };
    auto x = lowHigh(a), y = lowHigh(b);
    return std::min(x.second, y.second) - std::max(x.first, y.first) > -PLACE_SLACK;
}

// Whether b, later in the sequence, goes on where a ends.
bool continues(const Chain& a, const Chain& b, const ChainSettings& s) {
    if (a.contig != b.contig || a.strand != b.strand) return false;
    int step = b.first() - a.last();
    double off = std::fabs(a.strand * (b.places.front() - a.places.back()) - s.unitsPerBand * step);
    return step > 0 && off <= s.window + s.slack * step;
}

Chain joined(const Chain& a, const Chain& b) {
    Chain c = a;
    c.bands.insert(c.bands.end(), b.bands.begin(), b.bands.end());
    c.places.insert(c.places.end(), b.places.begin(), b.places.end());
    c.logChance = std::min(a.logChance, b.logChance);
    return c;
}

int clonesOver(const ContigClones& c, long left, long right) {
    int n = 0;
    for (const MapClone& clone : clonesNear(c, left, right))
        if (clone.left < right && clone.right > left) ++n;
    return n;
}

PlacementRow rowOf(const std::string& name, const Chain& c, int fromBand, int toBand,
                   const std::vector<SequenceBand>& bands, const PlaceMap& map,
                   double tolerance) {
    PlacementRow r;
    r.sequence = name;
    r.contig = c.contig;
    r.strand = c.strand;
    // Of the piece's fragments: another place's chain (ambiguous) may run on
    // past the piece.
    r.matched = (int)std::count_if(c.bands.begin(), c.bands.end(),
                                   [&](int b) { return b >= fromBand && b <= toBand; });
    r.fragments = toBand - fromBand + 1;
    r.logChance = c.logChance;
    double before = c.first() - fromBand, after = toBand - c.last();
    double low, high;
    if (c.strand > 0) {
        low = c.places.front() - before;
        high = c.places.back() + after;
    } else {
        low = c.places.back() - after;
        high = c.places.front() + before;
    }
    const ContigClones& contig = map.contigs[(size_t)c.contig];
    r.left = std::max(0L, (long)std::floor(std::min(low, high)));
    r.right = std::min(contig.end, (long)std::ceil(std::max(low, high)) + 1);
    if (r.right <= r.left) r.right = r.left + 1;
    r.clones = clonesOver(contig, r.left, r.right);
    // The clones over the place tell the strand, or leave it unknown: a
    // coin's guess would read as a finding in the AGP and the GFF3.
    StrandEvidence shown = cloneStrand(bands, fromBand, toBand, contig, r.left, r.right, tolerance);
    r.strand = shown.weight >= STRAND_EVIDENCE ? shown.strand : 0;
    return r;
}

} // namespace

const char* strandSign(int strand) {
    return strand > 0 ? "+" : strand < 0 ? "-" : "?";
}

const char* placeStatusName(PlaceStatus s) {
    switch (s) {
    case PlaceStatus::Placed: return "placed";
    case PlaceStatus::Split: return "split";
    case PlaceStatus::Ambiguous: return "ambiguous";
    default: return "unplaced";
    }
}

std::vector<PlacementRow> placeSequence(const std::string& name, int64_t length,
                                        const std::vector<SequenceBand>& bands,
                                        const PlaceMap& map, const PlaceSettings& s) {
    ChainSettings chainSettings = s.chains;
    chainSettings.unitsPerBand = map.unitsPerBand;
    std::vector<Chain> chains = findChains(bands, map, chainSettings);
    int bestMatched = 0;
    for (const Chain& c : chains)
        bestMatched = std::max(bestMatched, c.matched());
    const double logCutoff = std::log(s.cutoff);
    chains.erase(std::remove_if(chains.begin(), chains.end(),
                                [&](const Chain& c) { return c.logChance > logCutoff; }),
                 chains.end());
    std::sort(chains.begin(), chains.end(), [](const Chain& a, const Chain& b) {
        if (a.logChance != b.logChance) return a.logChance < b.logChance;
        if (a.contig != b.contig) return a.contig < b.contig;
        return a.strand > b.strand;
    });
    std::vector<Piece> pieces;
    for (const Chain& c : chains) {
        bool free = true;
        for (Piece& p : pieces) {
            int shared = overlap(p.chain, c);
            if (shared <= 0) continue;
            free = false;
            int shorter = std::min(p.chain.last() - p.chain.first(), c.last() - c.first()) + 1;
            // A rival at the place of one before (its other strand) adds no place.
            bool known = std::any_of(p.rivals.begin(), p.rivals.end(),
                                     [&](const Chain& rival) { return samePlace(rival, c); });
            if (2 * shared > shorter && !samePlace(p.chain, c) && !known &&
                c.logChance - p.chain.logChance < std::log(ALIKE))
                p.rivals.push_back(c);
            break;
        }
        if (free) pieces.push_back(Piece{c, {}});
    }
    std::sort(pieces.begin(), pieces.end(),
              [](const Piece& a, const Piece& b) { return a.chain.first() < b.chain.first(); });
    std::vector<Piece> merged;
    for (Piece& p : pieces) {
        if (!merged.empty() && merged.back().rivals.empty() && p.rivals.empty() &&
            continues(merged.back().chain, p.chain, chainSettings))
            merged.back().chain = joined(merged.back().chain, p.chain);
        else
            merged.push_back(std::move(p));
    }

    std::vector<PlacementRow> rows;
    if (merged.empty()) {
        PlacementRow r;
        r.sequence = name;
        r.seqEnd = length;
        r.fragments = (int)bands.size();
        r.matched = bestMatched;
        rows.push_back(r);
        return rows;
    }
    for (size_t k = 0; k < merged.size(); ++k) {
        const Chain& c = merged[k].chain;
        int fromBand = k == 0 ? 0 : (merged[k - 1].chain.last() + c.first()) / 2 + 1;
        int toBand = k + 1 == merged.size() ? (int)bands.size() - 1
                                            : (c.last() + merged[k + 1].chain.first()) / 2;
        int64_t seqStart = 0, seqEnd = length;
        if (k > 0) {
            const SequenceBand& a = bands[(size_t)merged[k - 1].chain.last()];
            seqStart = (a.start + a.length + bands[(size_t)c.first()].start) / 2;
        }
        if (k + 1 < merged.size()) {
            const SequenceBand& a = bands[(size_t)c.last()];
            seqEnd = (a.start + a.length + bands[(size_t)merged[k + 1].chain.first()].start) / 2;
        }
        PlaceStatus status = !merged[k].rivals.empty() ? PlaceStatus::Ambiguous
                             : merged.size() > 1       ? PlaceStatus::Split
                                                       : PlaceStatus::Placed;
        std::vector<const Chain*> places{&c};
        for (const Chain& rival : merged[k].rivals)
            places.push_back(&rival);
        for (const Chain* place : places) {
            PlacementRow r = rowOf(name, *place, fromBand, toBand, bands, map, matchTolerance(s.chains));
            r.seqStart = seqStart;
            r.seqEnd = seqEnd;
            r.status = status;
            rows.push_back(r);
        }
    }
    return rows;
}
