#include "zePairTable.h"

#include <cstdio>

namespace {

void appendField(std::string& out, const std::string& text) {
    for (char c : text)
        out += (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
    out += '\t';
}

} // namespace

std::string pairTableHeader() {
    return "clone1\tgel1\tordinal1\tbands1\tclone2\tgel2\tordinal2\tbands2\tshared\tscore\tdice\n";
}

void appendPairRow(std::string& out, const std::vector<Fingerprint>& prints, const PairScore& p) {
    const Fingerprint& a = prints[p.first];
    const Fingerprint& b = prints[p.second];
    appendField(out, a.clone);
    appendField(out, a.gel);
    out += std::to_string(a.ordinal) + '\t' + std::to_string(a.bands.size()) + '\t';
    appendField(out, b.clone);
    appendField(out, b.gel);
    char numbers[112];
    snprintf(numbers, sizeof numbers, "%d\t%zu\t%d\t%.3g\t%.3f\n", b.ordinal, b.bands.size(),
             p.shared, p.score, p.dice);
    out += numbers;
}
