#include "zeContigNames.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "zeCloneIdentity.h"

namespace {

// The contigs a clone is in, in the old and the new build (0: in the
// build, in no contig); more than one only where a name and gel number are
// given to several fingerprints.
struct Presence {
    std::vector<int> old, now;
};

void addOnce(std::vector<int>& to, int contig) {
    if (std::find(to.begin(), to.end(), contig) == to.end()) to.push_back(contig);
}

// "3", "3 and 7", "3, 7 and 9".
std::string listed(const std::vector<int>& numbers) {
    std::string out;
    for (size_t k = 0; k < numbers.size(); ++k) {
        if (k) out += k + 1 == numbers.size() ? " and " : ", ";
        out += std::to_string(numbers[k]);
    }
    return out;
}

} // namespace

ContigNames nameContigs(const std::vector<Fingerprint>& prints, const ContigMap& map,
                        const std::vector<ContigTableRow>& previous) {
    std::unordered_map<std::string, Presence> clones;
    int highestOld = 0;
    for (const ContigTableRow& r : previous) {
        addOnce(clones[nameAcrossBuilds(r.clone, r.gel)].old, r.contig);
        highestOld = std::max(highestOld, r.contig);
    }
    for (size_t v = 0; v < prints.size(); ++v)
        addOnce(clones[nameAcrossBuilds(prints[v].clone, prints[v].gel)].now, map.clones[v].contig);

    // Per old contig its clones still present, per new contig its clones
    // present before, and the clones each pair shares.
    std::map<int, int> stillPresent;
    std::vector<int> presentBefore((size_t)map.contigs + 1, 0);
    std::map<std::pair<int, int>, int> shared; // (old, new)
    for (const auto& entry : clones) {
        const Presence& p = entry.second;
        if (p.old.empty() || p.now.empty()) continue;
        for (int o : p.old)
            if (o > 0) ++stillPresent[o];
        for (int n : p.now)
            if (n > 0) ++presentBefore[(size_t)n];
        for (int o : p.old)
            for (int n : p.now)
                if (o > 0 && n > 0) ++shared[{o, n}];
    }

    ContigNames names;
    names.numberOf.assign((size_t)map.contigs + 1, 0);
    std::vector<std::pair<int, int>> heirs; // (new, old)
    for (const auto& entry : shared) {
        int o = entry.first.first, n = entry.first.second, count = entry.second;
        if (2 * count > stillPresent[o] && 2 * count > presentBefore[(size_t)n])
            heirs.push_back({n, o});
    }
    std::sort(heirs.begin(), heirs.end());
    std::vector<int> given;
    for (const auto& heir : heirs) {
        if (names.numberOf[(size_t)heir.first] != 0 ||
            std::find(given.begin(), given.end(), heir.second) != given.end())
            continue;
        names.numberOf[(size_t)heir.first] = heir.second;
        given.push_back(heir.second);
    }
    int next = highestOld;
    for (int n = 1; n <= map.contigs; ++n)
        if (names.numberOf[(size_t)n] == 0) names.numberOf[(size_t)n] = ++next;

    // Old contigs by new contig and new (renumbered) by old, at 2 clones
    // or more.
    std::map<int, std::vector<int>> oldOf, newOf;
    for (const auto& entry : shared)
        if (entry.second >= 2) {
            int o = entry.first.first, n = names.numberOf[(size_t)entry.first.second];
            oldOf[n].push_back(o);
            newOf[o].push_back(n);
        }
    for (auto& merged : oldOf)
        if (merged.second.size() > 1) {
            std::sort(merged.second.begin(), merged.second.end());
            names.notes.push_back("NOTE: contigs " + listed(merged.second) +
                                  " merged into contig " + std::to_string(merged.first));
        }
    for (auto& split : newOf)
        if (split.second.size() > 1) {
            std::sort(split.second.begin(), split.second.end());
            names.notes.push_back("NOTE: contig " + std::to_string(split.first) +
                                  " split into contigs " + listed(split.second));
        }
    return names;
}

void renumberContigs(ContigMap& map, const std::vector<int>& numberOf) {
    int highest = 0;
    for (PlacedClone& c : map.clones) {
        if (c.contig > 0) c.contig = numberOf[(size_t)c.contig];
        for (int& link : c.links)
            link = numberOf[(size_t)link];
        std::sort(c.links.begin(), c.links.end());
    }
    for (size_t n = 1; n < numberOf.size(); ++n)
        highest = std::max(highest, numberOf[n]);
    map.contigs = highest;
}
