#include "zeLibGenome.h"

#include <cstdio>
#include <iterator>
#include <map>
#include <string>

#include "zeToolArgs.h"

namespace {

std::string shareText(double share) {
    char text[32];
    snprintf(text, sizeof text, "%g", share);
    return text;
}

} // namespace

std::vector<int64_t> cutGenome(Rng& rng, int64_t length, double fragmentMean) {
    std::vector<int64_t> cuts;
    cuts.reserve((size_t)(length / fragmentMean * 1.01) + 16);
    double at = 0;
    cuts.push_back(0);
    for (;;) {
        at += rng.exponential(fragmentMean);
        int64_t cut = (int64_t)at;
        if (cut >= length) break;
        if (cut > cuts.back()) cuts.push_back(cut);
    }
    cuts.push_back(length);
    return cuts;
}

std::vector<RepeatBlock> makeRepeatBlocks(Rng& rng, double fragmentMean, int64_t genome,
                                          double share) {
    const double target = share * (double)genome;
    std::vector<RepeatBlock> blocks;
    double covered = 0;
    while (covered < target) {
        RepeatBlock b;
        b.length = REPEAT_SHORTEST + (int64_t)rng.below(REPEAT_LONGEST - REPEAT_SHORTEST + 1);
        b.cuts = cutGenome(rng, b.length, fragmentMean);
        b.cuts.pop_back();
        b.cuts.erase(b.cuts.begin());
        b.copies = REPEAT_FEWEST_COPIES +
                   (int)rng.below(REPEAT_MOST_COPIES - REPEAT_FEWEST_COPIES + 1);
        covered += (double)b.length * b.copies;
        blocks.push_back(std::move(b));
    }
    return blocks;
}

std::vector<RepeatCopy> layRepeatCopies(Rng& rng, const std::vector<RepeatBlock>& blocks,
                                        int64_t genome, double share) {
    // Rejection keeps every copy uniform among the places still free; a
    // long run of rejections means there are none.
    const long MOST_MISSES = 100000;
    std::map<int64_t, RepeatCopy> laid; // by start
    for (size_t k = 0; k < blocks.size(); ++k) {
        const int64_t length = blocks[k].length;
        for (int copy = 0; copy < blocks[k].copies;) {
            long misses = 0;
            RepeatCopy c;
            c.block = (int)k;
            for (;;) {
                if (misses == MOST_MISSES || length > genome)
                    failUsage("a genome of " + std::to_string((long long)genome) +
                              " bases has no room for repeat copies covering " +
                              shareText(share) + " of it");
                c.start = (int64_t)rng.below((uint64_t)(genome - length + 1));
                c.end = c.start + length;
                auto after = laid.lower_bound(c.start);
                bool clash = (after != laid.end() && after->second.start < c.end) ||
                             (after != laid.begin() && std::prev(after)->second.end > c.start);
                if (!clash) break;
                ++misses;
            }
            laid.emplace(c.start, c);
            ++copy;
        }
    }
    std::vector<RepeatCopy> copies;
    copies.reserve(laid.size());
    for (const auto& entry : laid)
        copies.push_back(entry.second);
    return copies;
}

std::vector<int64_t> withRepeats(const std::vector<int64_t>& cuts,
                                 const std::vector<RepeatBlock>& blocks,
                                 const std::vector<RepeatCopy>& copies) {
    std::vector<int64_t> out;
    out.reserve(cuts.size() + cuts.size() / 8);
    size_t i = 0;
    for (const RepeatCopy& c : copies) {
        for (; i < cuts.size() && cuts[i] <= c.start; ++i)
            out.push_back(cuts[i]);
        for (int64_t offset : blocks[(size_t)c.block].cuts)
            out.push_back(c.start + offset);
        while (i < cuts.size() && cuts[i] < c.end)
            ++i;
    }
    for (; i < cuts.size(); ++i)
        out.push_back(cuts[i]);
    return out;
}
