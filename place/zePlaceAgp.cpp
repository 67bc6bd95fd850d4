#include "zePlaceAgp.h"

#include <algorithm>
#include <map>
#include <tuple>

std::vector<std::vector<const PlacementRow*>> rowsAlongContigs(const std::vector<PlacementRow>& rows) {
    std::map<int, std::vector<const PlacementRow*>> byContig;
    for (const PlacementRow& r : rows)
        if (r.status == PlaceStatus::Placed || r.status == PlaceStatus::Split)
            byContig[r.contig].push_back(&r);
    std::vector<std::vector<const PlacementRow*>> out;
    for (auto& entry : byContig) {
        std::vector<const PlacementRow*>& v = entry.second;
        std::stable_sort(v.begin(), v.end(), [](const PlacementRow* a, const PlacementRow* b) {
            return std::tie(a->left, a->right, a->sequence, a->seqStart) <
                   std::tie(b->left, b->right, b->sequence, b->seqStart);
        });
        out.push_back(std::move(v));
    }
    return out;
}

std::string placementAgp(const std::vector<PlacementRow>& rows) {
    std::string out = "##agp-version\t2.1\n# placed by zePlace on the contigs of a physical map\n";
    for (const std::vector<const PlacementRow*>& contig : rowsAlongContigs(rows)) {
        const std::string object = "contig" + std::to_string(contig.front()->contig);
        long at = 1, part = 1;
        for (size_t k = 0; k < contig.size(); ++k) {
            if (k > 0) {
                out += object + '\t' + std::to_string(at) + '\t' + std::to_string(at + AGP_GAP - 1) +
                       '\t' + std::to_string(part++) + "\tN\t" + std::to_string(AGP_GAP) +
                       "\tscaffold\tyes\tmap\n";
                at += AGP_GAP;
            }
            const PlacementRow& r = *contig[k];
            long length = (long)(r.seqEnd - r.seqStart);
            out += object + '\t' + std::to_string(at) + '\t' + std::to_string(at + length - 1) + '\t' +
                   std::to_string(part++) + "\tW\t" + r.sequence + '\t' +
                   std::to_string(r.seqStart + 1) + '\t' + std::to_string(r.seqEnd) + '\t' +
                   strandSign(r.strand) + '\n';
            at += length;
        }
    }
    return out;
}
