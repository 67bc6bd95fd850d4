#include "zeTilingTable.h"

#include "zeCloneIdentity.h"
#include "zeContigTable.h"

std::string tilingTableHeader() {
    return "contig\tclone\tgel\tordinal\tleft\tright\tweak\tstatus\n";
}

std::string tilingTableRows(const std::vector<Fingerprint>& prints, const ContigMap& map,
                            const std::vector<std::vector<TilingStep>>& paths) {
    std::string out;
    for (size_t k = 0; k < paths.size(); ++k)
        for (const TilingStep& step : paths[k]) {
            const Fingerprint& f = prints[step.print];
            const PlacedClone& c = map.clones[step.print];
            out += std::to_string(k + 1) + '\t';
            appendIdentityColumns(out, f);
            out += '\t' + std::to_string(c.left) + '\t' +
                   std::to_string(c.right) + '\t' + (step.weak ? "weak" : "-") + '\t' +
                   statusName(c.status) + '\n';
        }
    return out;
}
