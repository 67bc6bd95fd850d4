#include "zeLoneHits.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

#include "zeSharedBands.h"
#include "zeSulston.h"

namespace {

// The clones near a marker outside contig `contig`: those it hits, and the
// clones of their contigs within the span of its hit clones there.
std::vector<size_t> nearMarker(const std::vector<size_t>& hit, int contig,
                               const std::vector<ContigTableRow>& rows,
                               const std::vector<std::vector<size_t>>& rowsOfContig) {
    std::vector<size_t> near;
    std::map<int, std::pair<long, long>> span;
    for (size_t k : hit) {
        const ContigTableRow& r = rows[k];
        if (r.contig == contig) continue;
        if (r.contig == 0) {
            near.push_back(k);
            continue;
        }
        auto found = span.emplace(r.contig, std::make_pair(r.left, r.right));
        std::pair<long, long>& s = found.first->second;
        s = {std::min(s.first, r.left), std::max(s.second, r.right)};
    }
    for (const auto& entry : span)
        for (size_t k : rowsOfContig[(size_t)entry.first])
            if (rows[k].right > entry.second.first && rows[k].left < entry.second.second)
                near.push_back(k);
    return near;
}

} // namespace

bool confirmLoneHits(ChromosomeInput& in, const std::vector<ContigTableRow>& rows,
                     const std::vector<Fingerprint>& prints, int tolerance, std::string& error) {
    std::map<std::tuple<std::string, std::string, int>, size_t> byIdentity;
    for (size_t k = 0; k < prints.size(); ++k)
        byIdentity.emplace(std::make_tuple(prints[k].clone, prints[k].gel, prints[k].ordinal), k);
    std::vector<const Fingerprint*> printOf(rows.size(), nullptr);
    std::vector<std::vector<size_t>> rowsOfContig;
    for (size_t k = 0; k < rows.size(); ++k) {
        const ContigTableRow& r = rows[k];
        auto found = byIdentity.find(std::make_tuple(r.clone, r.gel, r.ordinal));
        if (found == byIdentity.end()) {
            error = "the table's clone " + r.clone + " (gel " + r.gel + ", ordinal " +
                    std::to_string(r.ordinal) + ") is in none of the bands files";
            return false;
        }
        printOf[k] = &prints[found->second];
        if (rowsOfContig.size() <= (size_t)r.contig) rowsOfContig.resize((size_t)r.contig + 1);
        rowsOfContig[(size_t)r.contig].push_back(k);
    }
    auto overlap = [&](size_t a, size_t b) {
        const Fingerprint &x = *printOf[a], &y = *printOf[b];
        int n1 = (int)x.bands.size(), n2 = (int)y.bands.size();
        int m = sharedBands(x.bands.data(), n1, y.bands.data(), n2, tolerance);
        return sulstonScore(m, n1, n2, tolerance) <= CONFIRM_CUTOFF;
    };
    std::vector<long> clonesHit;
    for (const std::vector<size_t>& hit : in.rowsHit)
        clonesHit.push_back((long)hit.size());
    const double thin = THIN_SHARE * medianClonesPerMarker(clonesHit);
    for (AnchorContig& c : in.contigs) {
        std::map<size_t, std::vector<ContigHit*>> byMarker;
        for (ContigHit& h : c.hits)
            if (!in.repeatProbes[h.marker]) byMarker[h.marker].push_back(&h);
        for (auto& entry : byMarker) {
            if (entry.second.size() != 1) continue;
            ContigHit& lone = *entry.second[0];
            const std::vector<size_t>& hit = in.rowsHit[entry.first];
            if (hit.size() == 1) { // nothing to test it against
                lone.confirmed = true;
                continue;
            }
            bool shares = std::any_of(hit.begin(), hit.end(), [&](size_t other) {
                return rows[other].contig != c.contig && overlap(lone.clone, other);
            });
            // Where the map broke for want of clones, either test will do.
            const bool few = (double)hit.size() <= thin;
            if (!shares && !few) continue;
            if (shares && few) {
                lone.confirmed = true;
                continue;
            }
            const std::vector<size_t>& mine = rowsOfContig[(size_t)c.contig];
            for (size_t near : nearMarker(hit, c.contig, rows, rowsOfContig)) {
                lone.confirmed = std::any_of(mine.begin(), mine.end(), [&](size_t k) {
                    return k != lone.clone && overlap(k, near);
                });
                if (lone.confirmed) break;
            }
        }
    }
    return true;
}
