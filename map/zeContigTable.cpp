#include "zeContigTable.h"

#include <algorithm>
#include <tuple>

std::string contigTableHeader() {
    return "contig\tclone\tgel\tordinal\tleft\tright\tstatus\tburied_in\tlinks\n";
}

const char* statusName(CloneStatus status) {
    switch (status) {
    case CloneStatus::Ok: return "ok";
    case CloneStatus::Buried: return "buried";
    case CloneStatus::Q: return "Q";
    case CloneStatus::Chimeric: return "chimeric";
    }
    return "?";
}

std::string contigTableRows(const std::vector<Fingerprint>& prints, const ContigMap& map) {
    std::vector<int> order(prints.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = (int)i;
    auto key = [&](int v) {
        const PlacedClone& c = map.clones[v];
        // Contig 0 sorts after every numbered contig.
        long contig = c.contig == 0 ? (long)map.contigs + 1 : c.contig;
        return std::make_tuple(contig, c.left, c.right, std::cref(prints[v].clone),
                               std::cref(prints[v].gel), prints[v].ordinal, v);
    };
    std::sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });

    std::string out;
    for (int v : order) {
        const Fingerprint& f = prints[v];
        const PlacedClone& c = map.clones[v];
        out += std::to_string(c.contig) + '\t';
        appendIdentityColumns(out, f);
        out += '\t';
        if (c.contig == 0)
            out += "-\t-\t";
        else
            out += std::to_string(c.left) + '\t' + std::to_string(c.right) + '\t';
        out += statusName(c.status);
        out += '\t';
        if (c.buriedIn >= 0)
            appendTableField(out, cloneIdentity(prints[c.buriedIn]));
        else
            out += '-';
        out += '\t';
        if (c.links.empty()) out += '-';
        for (size_t k = 0; k < c.links.size(); ++k)
            out += (k ? "," : "") + std::to_string(c.links[k]);
        out += '\n';
    }
    return out;
}
