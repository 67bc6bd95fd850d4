#include "zeLibSequence.h"

namespace {

const char BASES[] = "ACGT";

char complement(char c) {
    switch (c) {
    case 'A': return 'T';
    case 'C': return 'G';
    case 'G': return 'C';
    case 'T': return 'A';
    default: return 'N'; // a real genome's N and ambiguous bases
    }
}

// Whether the sequence ends in `word`.
bool endsWith(const std::string& s, const std::string& word) {
    return s.size() >= word.size() && s.compare(s.size() - word.size(), word.size(), word) == 0;
}

} // namespace

std::vector<int64_t> cutsRoomForSites(const std::vector<int64_t>& cuts, size_t siteLength) {
    std::vector<int64_t> out;
    out.reserve(cuts.size());
    const int64_t room = (int64_t)siteLength, end = cuts.back();
    out.push_back(cuts.front());
    for (size_t k = 1; k + 1 < cuts.size(); ++k)
        if ((out.size() == 1 || cuts[k] - out.back() >= room) && end - cuts[k] >= room)
            out.push_back(cuts[k]);
    out.push_back(end);
    return out;
}

std::string reverseComplement(const std::string& bases) {
    std::string out(bases.rbegin(), bases.rend());
    for (char& c : out)
        c = complement(c);
    return out;
}

bool genomeSequence(Rng& rng, const std::vector<int64_t>& cuts, const std::string& site,
                    std::string& genome, std::string& error) {
    const std::string reverse = reverseComplement(site);
    genome.clear();
    genome.reserve((size_t)cuts.back());
    auto siteEndsHere = [&] { return endsWith(genome, site) || endsWith(genome, reverse); };
    for (size_t k = 0; k + 1 < cuts.size(); ++k) {
        if (k > 0) {
            for (size_t i = 0; i < site.size(); ++i) {
                genome += site[i];
                if (i + 1 < site.size() && siteEndsHere()) {
                    error = "the site " + site +
                            " overlaps itself or its reverse complement: choose another";
                    return false;
                }
            }
        }
        while ((int64_t)genome.size() < cuts[k + 1]) {
            // One of four bases completes neither word: at most two are refused.
            int base = (int)rng.below(4);
            genome += BASES[base];
            for (int tries = 1; tries < 4 && siteEndsHere(); ++tries)
                genome.back() = BASES[(base + tries) % 4];
        }
    }
    return true;
}
