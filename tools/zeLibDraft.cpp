#include "zeLibDraft.h"

#include <algorithm>
#include <cstdio>

#include "zeLibSequence.h"

int64_t DraftSequence::length() const {
    int64_t n = 0;
    for (const DraftPart& p : parts)
        n += p.end - p.start;
    return n;
}

std::vector<DraftSequence> cutDraft(Rng& rng, int64_t genome, double mean, long misjoins) {
    std::vector<DraftSequence> pieces;
    for (int64_t at = 0; at < genome;) {
        int64_t length = std::max(DRAFT_SHORTEST, (int64_t)rng.exponential(mean));
        DraftPart p;
        p.start = at;
        p.end = std::min(genome, at + length);
        p.reverse = rng.chance(0.5);
        pieces.push_back(DraftSequence{"", {p}});
        at = p.end + (int64_t)rng.below(DRAFT_MOST_GAP + 1);
    }
    const int64_t distance = std::min(MISJOIN_DISTANCE, genome / 3);
    std::vector<char> used(pieces.size(), 0);
    const long MOST_TRIES = 1000;
    for (long made = 0, tries = 0; made < misjoins && tries < MOST_TRIES; ++tries) {
        size_t i = (size_t)rng.below(pieces.size()), j = (size_t)rng.below(pieces.size());
        const DraftPart &a = pieces[i].parts[0], &b = pieces[j].parts[0];
        if (used[i] || used[j] || std::max(a.start, b.start) - std::min(a.end, b.end) < distance)
            continue;
        pieces[i].parts.push_back(b);
        used[i] = used[j] = 1;
        pieces[j].parts.clear();
        ++made;
    }
    pieces.erase(std::remove_if(pieces.begin(), pieces.end(),
                                [](const DraftSequence& d) { return d.parts.empty(); }),
                 pieces.end());
    std::stable_sort(pieces.begin(), pieces.end(), [](const DraftSequence& a, const DraftSequence& b) {
        return a.length() > b.length();
    });
    for (size_t k = 0; k < pieces.size(); ++k) {
        char name[32];
        snprintf(name, sizeof name, "draft%06zu", k + 1);
        pieces[k].name = name;
    }
    return pieces;
}

std::string draftBases(const std::string& genome, const DraftSequence& d) {
    std::string out;
    out.reserve((size_t)d.length());
    for (const DraftPart& p : d.parts) {
        std::string part = genome.substr((size_t)p.start, (size_t)(p.end - p.start));
        out += p.reverse ? reverseComplement(part) : part;
    }
    return out;
}

std::string draftTruthTable(const std::vector<DraftSequence>& draft) {
    std::string out = "sequence\tpart\tseq_start\tseq_end\tgenome_start\tgenome_end\tstrand\n";
    for (const DraftSequence& d : draft) {
        int64_t at = 0;
        for (size_t k = 0; k < d.parts.size(); ++k) {
            const DraftPart& p = d.parts[k];
            int64_t n = p.end - p.start;
            char row[160];
            snprintf(row, sizeof row, "\t%zu\t%lld\t%lld\t%lld\t%lld\t%c\n", k + 1, (long long)at,
                     (long long)(at + n), (long long)p.start, (long long)p.end,
                     p.reverse ? '-' : '+');
            out += d.name + row;
            at += n;
        }
    }
    return out;
}
