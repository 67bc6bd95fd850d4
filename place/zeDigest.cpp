#include "zeDigest.h"

#include <cstdio>

namespace {

int baseCode(char c) {
    switch (c) {
    case 'A': case 'a': return 0;
    case 'C': case 'c': return 1;
    case 'G': case 'g': return 2;
    case 'T': case 't': return 3;
    default: return -1;
    }
}

bool ambiguousBase(char c) {
    char u = (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
    for (const char* p = "NRYSWKMBDHV"; *p; ++p)
        if (*p == u) return true;
    return false;
}

uint64_t codeOf(const std::string& bases) {
    uint64_t code = 0;
    for (char c : bases)
        code = code << 2 | (uint64_t)baseCode(c);
    return code;
}

struct Enzyme {
    const char* name;
    const char* site;
};

const Enzyme ENZYMES[] = {{"HindIII", "AAGCTT"}, {"EcoRI", "GAATTC"},  {"BamHI", "GGATCC"},
                          {"BglII", "AGATCT"},   {"XbaI", "TCTAGA"},   {"XhoI", "CTCGAG"},
                          {"SalI", "GTCGAC"},    {"PstI", "CTGCAG"},   {"SacI", "GAGCTC"},
                          {"KpnI", "GGTACC"},    {"NcoI", "CCATGG"},   {"EcoRV", "GATATC"},
                          {"NotI", "GCGGCCGC"},  {"HaeIII", "GGCC"},   {"Sau3AI", "GATC"}};

bool sameIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = (char)(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = (char)(y - 'A' + 'a');
        if (x != y) return false;
    }
    return i == a.size() && !b[i];
}

std::string reverseComplementOf(const std::string& site) {
    std::string out;
    for (auto c = site.rbegin(); c != site.rend(); ++c)
        out += "TGCA"[baseCode(*c)];
    return out;
}

} // namespace

bool readSite(const std::string& text, std::string& site, std::string& error) {
    site.clear();
    for (char c : text) {
        if (baseCode(c) < 0) {
            error = "the site '" + text + "' may hold only the bases A, C, G and T";
            return false;
        }
        site += "ACGT"[baseCode(c)];
    }
    if (site.size() < 4 || site.size() > 20) {
        error = "the site '" + text + "' must be 4 to 20 bases long";
        return false;
    }
    return true;
}

bool enzymeSite(const std::string& name, std::string& site, std::string& error) {
    std::string names;
    for (const Enzyme& e : ENZYMES) {
        if (sameIgnoringCase(name, e.name)) {
            site = e.site;
            return true;
        }
        names += std::string(names.empty() ? "" : ", ") + e.name;
    }
    error = "unknown enzyme '" + name + "' (known: " + names + "; or give its site with --site)";
    return false;
}

Digest::Digest(const std::string& site)
    : site(site), reverse(reverseComplementOf(site)), forwardCode(codeOf(site)),
      reverseCode(codeOf(reverse)), mask(site.size() >= 32 ? ~0ull : (1ull << (2 * site.size())) - 1) {}

void Digest::start() {
    window = 0;
    at = clean = ambiguous = 0;
    siteStarts.clear();
}

bool Digest::add(const char* text, size_t length, std::string& error) {
    const int64_t n = (int64_t)site.size();
    for (size_t i = 0; i < length; ++i) {
        int code = baseCode(text[i]);
        if (code < 0) {
            if (!ambiguousBase(text[i])) {
                char what[64];
                unsigned char c = (unsigned char)text[i];
                if (c >= 0x21 && c < 0x7F)
                    snprintf(what, sizeof what, "'%c'", (char)c);
                else
                    snprintf(what, sizeof what, "the byte 0x%02X", c);
                error = std::string(what) + " in column " + std::to_string(i + 1) +
                        " is no base (ACGT, N or an IUPAC code)";
                return false;
            }
            ++ambiguous;
            clean = 0;
        } else {
            window = (window << 2 | (uint64_t)code) & mask;
            ++clean;
        }
        ++at;
        if (clean >= n && ((window == forwardCode) || (window == reverseCode)))
            siteStarts.push_back(at - n);
    }
    return true;
}

std::vector<SequenceFragment> Digest::fragments() const {
    std::vector<SequenceFragment> out;
    for (size_t k = 1; k < siteStarts.size(); ++k)
        out.push_back({siteStarts[k - 1], siteStarts[k] - siteStarts[k - 1]});
    return out;
}
