#include "zeContigNumbers.h"

#include <algorithm>
#include <cassert>

void numberContigs(ContigMap& map) {
    std::vector<std::vector<int>> members((size_t)map.contigs + 1);
    for (size_t v = 0; v < map.clones.size(); ++v)
        if (map.clones[v].contig > 0) members[(size_t)map.clones[v].contig].push_back((int)v);

    std::vector<int> order; // old numbers of the contigs that hold clones, in their new order
    for (int c = 1; c <= map.contigs; ++c) {
        assert(members[(size_t)c].size() != 1);
        if (!members[(size_t)c].empty()) order.push_back(c);
    }
    // Members are ascending, so the first is the lowest fingerprint.
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const std::vector<int>& x = members[(size_t)a];
        const std::vector<int>& y = members[(size_t)b];
        return x.size() != y.size() ? x.size() > y.size() : x.front() < y.front();
    });
    std::vector<int> renumbered((size_t)map.contigs + 1, 0);
    for (size_t k = 0; k < order.size(); ++k)
        renumbered[(size_t)order[k]] = (int)k + 1;

    for (int old : order) {
        const std::vector<int>& clones = members[(size_t)old];
        long lowest = map.clones[(size_t)clones.front()].left, highest = 0;
        for (int v : clones) {
            lowest = std::min(lowest, map.clones[(size_t)v].left);
            highest = std::max(highest, map.clones[(size_t)v].right);
        }
        const PlacedClone& first = map.clones[(size_t)clones.front()];
        bool turn = first.left + first.right > lowest + highest;
        for (int v : clones) {
            PlacedClone& c = map.clones[(size_t)v];
            c.contig = renumbered[(size_t)old];
            long left = turn ? highest - c.right : c.left - lowest;
            long right = turn ? highest - c.left : c.right - lowest;
            c.left = left;
            c.right = right;
        }
    }
    for (PlacedClone& c : map.clones) {
        std::vector<int> links;
        for (int old : c.links)
            if (old > 0 && old <= map.contigs && renumbered[(size_t)old] > 0)
                links.push_back(renumbered[(size_t)old]);
        std::sort(links.begin(), links.end());
        links.erase(std::unique(links.begin(), links.end()), links.end());
        c.links = links;
    }
    map.contigs = (int)order.size();
}
