#include "zePlacementTable.h"

#include "zeCloneIdentity.h"

std::string placementTableHeader() {
    return "sequence\tseq_start\tseq_end\tcontig\tleft\tright\tstrand\tfragments\tmatched\tclones"
           "\tstatus\n";
}

void appendPlacementRow(std::string& out, const PlacementRow& r) {
    appendTableField(out, r.sequence);
    out += '\t' + std::to_string(r.seqStart) + '\t' + std::to_string(r.seqEnd) + '\t';
    if (r.status == PlaceStatus::Unplaced)
        out += "-\t-\t-\t-";
    else
        out += std::to_string(r.contig) + '\t' + std::to_string(r.left) + '\t' +
               std::to_string(r.right) + '\t' + strandSign(r.strand);
    out += '\t' + std::to_string(r.fragments) + '\t' + std::to_string(r.matched) + '\t' +
           std::to_string(r.clones) + '\t' + placeStatusName(r.status) + '\n';
}
