#include "zeContigGff.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "zeCloneIdentity.h"
#include "zeContigTable.h"

namespace {

// Unique IDs: a repeat of a name gets ".2", ".3", ...
class Ids {
  public:
    std::string take(const std::string& wanted) {
        std::string id = wanted;
        for (int k = 2; !used.insert(id).second; ++k)
            id = wanted + "." + std::to_string(k);
        return id;
    }

  private:
    std::set<std::string> used;
};

void attribute(std::string& out, const char* tag, const std::string& value) {
    // An empty value is no value in GFF3: the tag is left out.
    if (value.empty()) return;
    if (out.back() != '\t') out += ';';
    out += tag;
    out += '=';
    out += gffEscaped(value);
}

void featureColumns(std::string& out, int contig, const char* type, const PlacedClone& c) {
    out += "contig" + std::to_string(contig) + "\tzeContig\t" + type + '\t' +
           std::to_string(c.left + 1) + '\t' + std::to_string(c.right) + "\t.\t.\t.\t";
}

} // namespace

std::string gffEscaped(const std::string& text) {
    static const char HEX[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : text) {
        unsigned char c = (unsigned char)ch;
        if (c < 0x20 || c == 0x7F || c == ';' || c == '=' || c == '&' || c == ',' || c == '%') {
            out += '%';
            out += HEX[c >> 4];
            out += HEX[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

std::string contigGff(const std::vector<Fingerprint>& prints, const ContigMap& map,
                      const std::vector<std::vector<TilingStep>>& paths) {
    std::vector<long> highest((size_t)map.contigs + 1, 0);
    std::vector<int> order;
    for (size_t v = 0; v < map.clones.size(); ++v) {
        const PlacedClone& c = map.clones[v];
        if (c.contig <= 0) continue;
        order.push_back((int)v);
        highest[(size_t)c.contig] = std::max(highest[(size_t)c.contig], c.right);
    }
    // As the table orders them.
    auto key = [&](int v) {
        const PlacedClone& c = map.clones[v];
        return std::make_tuple(c.contig, c.left, c.right, std::cref(prints[v].clone),
                               std::cref(prints[v].gel), prints[v].ordinal, v);
    };
    std::sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });

    std::string out = "##gff-version 3\n";
    for (size_t n = 1; n < highest.size(); ++n)
        if (highest[n] > 0)
            out += "##sequence-region contig" + std::to_string(n) + " 1 " +
                   std::to_string(highest[n]) + '\n';

    Ids ids;
    std::vector<std::string> idOf(prints.size());
    size_t next = 0;
    for (int contig = 1; contig <= map.contigs; ++contig) {
        for (; next < order.size() && map.clones[order[next]].contig == contig; ++next) {
            int v = order[next];
            const Fingerprint& f = prints[v];
            const PlacedClone& c = map.clones[v];
            idOf[v] = ids.take(cloneIdentity(f));
            featureColumns(out, contig, "clone", c);
            attribute(out, "ID", idOf[v]);
            attribute(out, "Name", f.clone);
            attribute(out, "gel", f.gel);
            attribute(out, "ordinal", std::to_string(f.ordinal));
            attribute(out, "status", statusName(c.status));
            if (c.buriedIn >= 0) attribute(out, "buried_in", cloneIdentity(prints[c.buriedIn]));
            out += '\n';
        }
        if ((size_t)contig > paths.size()) continue;
        for (const TilingStep& step : paths[(size_t)contig - 1]) {
            const Fingerprint& f = prints[step.print];
            featureColumns(out, contig, "tiling_path_clone", map.clones[step.print]);
            attribute(out, "ID", ids.take("tile:" + idOf[step.print]));
            attribute(out, "Name", f.clone);
            attribute(out, "gel", f.gel);
            attribute(out, "ordinal", std::to_string(f.ordinal));
            if (step.shared >= 0) attribute(out, "shared", std::to_string(step.shared));
            if (step.weak) attribute(out, "weak", "true");
            out += '\n';
        }
    }
    return out;
}
