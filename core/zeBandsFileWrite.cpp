// The writing half of the bands file (zeBandsFile.h): the step, the
// library generator and the benchmark all write their blocks here.
#include <cstdio>

#include "zeBandsFile.h"

namespace {

void appendNumber(std::string& out, long long v) {
    char digits[24];
    int n = snprintf(digits, sizeof digits, "%lld", v);
    out.append(digits, (size_t)n);
}

} // namespace

void appendBandsBlock(std::string& out, const Fingerprint& f) {
    out += "         ";
    out += f.clone;
    out += ' ';
    appendNumber(out, (long long)f.bands.size());
    out += ' ';
    out += f.gel;
    out += '\n';
    for (int b : f.bands) {
        appendNumber(out, b);
        out += '\n';
    }
    out += "-1\n";
}
