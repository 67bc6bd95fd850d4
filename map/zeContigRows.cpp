#include "zeContigRows.h"

#include <algorithm>
#include <tuple>

namespace {

// The members of one contig by fingerprint, for finding a member's place
// in the table's order without a map-wide index.
class LocalIndex {
  public:
    explicit LocalIndex(const std::vector<int>& members) {
        for (size_t i = 0; i < members.size(); ++i)
            byPrint.push_back({members[i], (int)i});
        std::sort(byPrint.begin(), byPrint.end());
    }
    // The place of v among the members, or -1.
    int of(int v) const {
        auto found = std::lower_bound(byPrint.begin(), byPrint.end(), std::make_pair(v, -1));
        return found != byPrint.end() && found->first == v ? found->second : -1;
    }

  private:
    std::vector<std::pair<int, int>> byPrint;
};

// The member a buried one is folded into: the first clone up its chain of
// burials that is a row; -1 when the chain leaves the contig first.
int rowOf(const ContigMap& map, const std::vector<int>& members, const LocalIndex& local,
          const std::vector<char>& isRow, int i) {
    // Every step goes to a clone of more bands, so a chain ends; the bound
    // only guards against a map made elsewhere.
    for (size_t steps = 0; steps < members.size(); ++steps) {
        i = local.of(map.clones[members[i]].buriedIn);
        if (i < 0) return -1;
        if (isRow[i]) return i;
    }
    return -1;
}

} // namespace

std::vector<std::vector<int>> contigMembers(const std::vector<Fingerprint>& prints,
                                            const ContigMap& map, int count) {
    count = std::max(0, std::min(count, map.contigs));
    std::vector<std::vector<int>> members((size_t)count);
    for (size_t v = 0; v < map.clones.size(); ++v) {
        int c = map.clones[v].contig;
        if (c >= 1 && c <= count) members[(size_t)c - 1].push_back((int)v);
    }
    // The contig table's order within a contig.
    auto key = [&](int v) {
        const PlacedClone& c = map.clones[v];
        return std::make_tuple(c.left, c.right, std::cref(prints[v].clone),
                               std::cref(prints[v].gel), prints[v].ordinal, v);
    };
    for (std::vector<int>& m : members)
        std::sort(m.begin(), m.end(), [&](int a, int b) { return key(a) < key(b); });
    return members;
}

std::vector<std::vector<int>> chimericLinks(const ContigMap& map, int count) {
    count = std::max(0, std::min(count, map.contigs));
    std::vector<std::vector<int>> links((size_t)count);
    for (size_t v = 0; v < map.clones.size(); ++v) {
        if (map.clones[v].status != CloneStatus::Chimeric) continue;
        for (int c : map.clones[v].links)
            if (c >= 1 && c <= count) links[(size_t)c - 1].push_back((int)v);
    }
    return links;
}

DrawingRows drawingRows(const ContigMap& map, int number, const std::vector<int>& members) {
    DrawingRows out;
    out.number = number;
    out.clones = (long)members.size();
    for (int v : members)
        out.length = std::max(out.length, map.clones[v].right);

    // Rows are the clones buried in none, and any buried clone whose chain
    // leaves the contig (none in a map zeContig builds), in the members'
    // order; the others are folded into the row they lie in.
    const LocalIndex local(members);
    std::vector<char> isRow(members.size(), 0);
    for (size_t i = 0; i < members.size(); ++i)
        isRow[i] = map.clones[members[i]].buriedIn < 0;
    std::vector<int> foldedInto(members.size(), -1);
    for (size_t i = 0; i < members.size(); ++i)
        if (!isRow[i]) {
            foldedInto[i] = rowOf(map, members, local, isRow, (int)i);
            if (foldedInto[i] < 0) isRow[i] = 1;
        }
    std::vector<int> slot(members.size(), -1);
    std::vector<DrawnRow> all;
    for (size_t i = 0; i < members.size(); ++i)
        if (isRow[i]) {
            slot[i] = (int)all.size();
            all.push_back({members[i], {}});
        }
    for (size_t i = 0; i < members.size(); ++i)
        if (!isRow[i]) all[(size_t)slot[(size_t)foldedInto[i]]].folded.push_back(members[i]);

    long drawn = 0;
    for (DrawnRow& row : all) {
        long weight = 1 + (long)row.folded.size();
        if (drawn >= MOST_DRAWN_CLONES) {
            out.clonesLeftOut += weight;
            continue;
        }
        drawn += weight;
        out.rows.push_back(std::move(row));
    }

    // Depth: clones starting less clones ending, summed along the contig.
    std::vector<int> change((size_t)out.length + 1, 0);
    for (int v : members) {
        const PlacedClone& c = map.clones[v];
        if (c.left < 0 || c.right <= c.left) continue;
        ++change[(size_t)c.left];
        --change[(size_t)c.right];
    }
    int depth = 0;
    for (long u = 0; u < out.length; ++u) {
        depth += change[(size_t)u];
        if (!out.depth.empty() && out.depth.back().depth == depth)
            out.depth.back().to = u + 1;
        else
            out.depth.push_back({u, u + 1, depth});
    }
    return out;
}
