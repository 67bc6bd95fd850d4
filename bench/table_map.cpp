#include "table_map.h"

#include <algorithm>
#include <map>

#include "zeCloneIdentity.h"
#include "zeContigTableReader.h"

bool readTableMap(const std::string& path, const std::vector<Fingerprint>& prints, ContigMap& map,
                  std::string& error) {
    std::vector<ContigTableRow> rows;
    if (!readContigTable(path, rows, error)) return false;
    std::map<std::string, int> index;
    for (size_t v = 0; v < prints.size(); ++v)
        index[cloneIdentity(prints[v])] = (int)v;
    map = ContigMap();
    map.clones.resize(prints.size());
    for (const ContigTableRow& row : rows) {
        Fingerprint named;
        named.clone = row.clone;
        named.gel = row.gel;
        named.ordinal = row.ordinal;
        auto at = index.find(cloneIdentity(named));
        auto buriedIn = index.find(row.buriedIn);
        if (at == index.end() || (!row.buriedIn.empty() && buriedIn == index.end())) {
            error = "'" + path + "': a row that names no fingerprint: " + cloneIdentity(named);
            return false;
        }
        PlacedClone& c = map.clones[(size_t)at->second];
        c.contig = row.contig;
        map.contigs = std::max(map.contigs, c.contig);
        c.left = row.left;
        c.right = row.right;
        c.status = row.status;
        if (!row.buriedIn.empty()) c.buriedIn = buriedIn->second;
        c.links = row.links;
    }
    return true;
}
