#include "zePlaceGff.h"

#include <set>

#include "zeContigGff.h"

namespace {

// `used` holds the IDs taken, percent-encoded as written.
void appendPlacements(std::string& out, const std::vector<PlacementRow>& rows,
                      std::set<std::string>& used) {
    for (const PlacementRow& r : rows) {
        if (r.status == PlaceStatus::Unplaced) continue;
        std::string wanted = r.sequence + ":" + std::to_string(r.seqStart) + "-" + std::to_string(r.seqEnd);
        std::string id = gffEscaped(wanted);
        for (int k = 2; !used.insert(id).second; ++k)
            id = gffEscaped(wanted + "." + std::to_string(k));
        out += "contig" + std::to_string(r.contig) + "\tzePlace\tmatch\t" + std::to_string(r.left + 1) +
               '\t' + std::to_string(r.right) + "\t.\t" + strandSign(r.strand) + "\t.\tID=" +
               id + ";Name=" + gffEscaped(r.sequence) +
               ";seq_start=" + std::to_string(r.seqStart) + ";seq_end=" + std::to_string(r.seqEnd) +
               ";matched=" + std::to_string(r.matched) + ";fragments=" + std::to_string(r.fragments) +
               ";status=" + placeStatusName(r.status) + '\n';
    }
}

} // namespace

std::string placementGff(const std::vector<PlacementRow>& rows) {
    std::string out = "##gff-version 3\n";
    std::set<std::string> used;
    appendPlacements(out, rows, used);
    return out;
}

std::string placementGff(const MapGff& map, const std::vector<PlacementRow>& rows) {
    std::string out = map.text;
    std::set<std::string> used = map.ids;
    appendPlacements(out, rows, used);
    return out;
}
