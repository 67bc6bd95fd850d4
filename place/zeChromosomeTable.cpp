#include "zeChromosomeTable.h"

std::string chromosomeTableHeader() {
    return "contig\tchromosome\tstart\tend\tstrand\tmarkers\tstatus\n";
}

void appendChromosomeRow(std::string& out, const ContigAnchor& a, const MarkerMap& map) {
    out += std::to_string(a.contig) + '\t';
    if (a.status == AnchorStatus::Anchored) {
        out += map.chromosomes[a.chromosomes[0]] + '\t' + map.positionText[a.lowest] + '\t' +
               map.positionText[a.highest] + '\t' + (a.strand > 0 ? "+" : a.strand < 0 ? "-" : ".");
    } else if (a.status == AnchorStatus::Conflict) {
        for (size_t k = 0; k < a.chromosomes.size(); ++k)
            out += (k ? "," : "") + map.chromosomes[a.chromosomes[k]];
        out += "\t-\t-\t.";
    } else {
        out += "-\t-\t-\t.";
    }
    out += '\t' + std::to_string(a.markers.size()) + '\t' + anchorStatusName(a.status) + '\n';
}
