#include "zeContigStats.h"

#include <algorithm>
#include <functional>

std::vector<ContigSize> contigSizes(const ContigMap& map) {
    std::vector<ContigSize> sizes((size_t)std::max(0, map.contigs));
    for (const PlacedClone& c : map.clones) {
        if (c.contig < 1 || c.contig > map.contigs) continue;
        ContigSize& s = sizes[(size_t)c.contig - 1];
        ++s.clones;
        s.length = std::max(s.length, c.right);
    }
    return sizes;
}

int contigsHeld(const ContigMap& map) {
    int held = 0;
    for (const ContigSize& s : contigSizes(map))
        if (s.clones > 0) ++held;
    return held;
}

long n50(std::vector<long> sizes) {
    std::sort(sizes.begin(), sizes.end(), std::greater<long>());
    long long total = 0;
    for (long s : sizes)
        total += s;
    long long held = 0;
    for (long s : sizes) {
        held += s;
        // Twice held against total keeps an odd total exact.
        if (2 * held >= total) return s;
    }
    return 0;
}

MapCounts mapCounts(const ContigMap& map) {
    MapCounts n;
    n.fingerprints = (long)map.clones.size();
    for (const PlacedClone& c : map.clones) {
        if (c.contig > 0) ++n.inContigs;
        switch (c.status) {
        case CloneStatus::Buried: ++n.buried; break;
        case CloneStatus::Q: ++n.q; break;
        case CloneStatus::Chimeric: ++n.chimeric; break;
        case CloneStatus::Ok: break;
        }
        if (c.contig == 0 && c.status != CloneStatus::Chimeric) ++n.singletons;
    }
    return n;
}

std::vector<SizeBin> sizeBins(const std::vector<ContigSize>& sizes) {
    std::vector<SizeBin> bins;
    for (const ContigSize& s : sizes) {
        if (s.clones < 2) continue;
        // Bin k holds 2^k + 1 .. 2^(k+1) clones; bin 0 holds 2 alone.
        size_t k = 0;
        while ((2L << k) < s.clones)
            ++k;
        while (bins.size() <= k) {
            SizeBin b;
            b.lowest = bins.empty() ? 2 : bins.back().highest + 1;
            b.highest = 2L << bins.size();
            bins.push_back(b);
        }
        ++bins[k].contigs;
        bins[k].clones += s.clones;
    }
    return bins;
}
