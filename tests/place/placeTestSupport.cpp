#include "placeTestSupport.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "testSupport.h"

namespace zetest {

namespace {

const char* const SITE = "AAGCTT";
const int CLONE_FRAGMENTS = 16, CLONE_STEP = 3;
const double LOG_MAX = std::log(30000.0), LOG_MIN = std::log(600.0);

uint64_t nextRandom(uint64_t& state) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return state >> 33;
}

// Random bases without the site, ending in the site.
void appendFragment(std::string& genome, int64_t length, uint64_t& state) {
    const std::string site = SITE;
    int64_t target = (int64_t)genome.size() + length - (int64_t)site.size();
    while ((int64_t)genome.size() < target) {
        genome += "ACGT"[nextRandom(state) % 4];
        if (genome.size() >= site.size() &&
            genome.compare(genome.size() - site.size(), site.size(), site) == 0)
            genome.back() = 'C';
    }
    genome += site;
}

int positionOf(int size) {
    return (int)((LOG_MAX - std::log((double)size)) * 4599 / (LOG_MAX - LOG_MIN));
}

} // namespace

std::string reverseComplement(const std::string& bases) {
    std::string out;
    for (auto c = bases.rbegin(); c != bases.rend(); ++c)
        out += *c == 'A' ? 'T' : *c == 'C' ? 'G' : *c == 'G' ? 'C' : 'A';
    return out;
}

std::string fastaRecord(const std::string& name, const std::string& bases) {
    std::string out = ">" + name + "\n";
    for (size_t at = 0; at < bases.size(); at += 60)
        out += bases.substr(at, 60) + "\n";
    return out;
}

HandMap writeHandMap(const std::string& dir) {
    HandMap m;
    uint64_t state = 12345;
    std::string table = "contig\tclone\tgel\tordinal\tleft\tright\tstatus\tburied_in\tlinks\n";
    std::string bands, sizes;
    int ordinal = 0;
    for (int g = 0; g < 2; ++g) {
        std::vector<int> lengths;
        std::string genome = SITE;
        std::vector<int64_t> sites{0};
        for (int k = 0; k < MAP_FRAGMENTS; ++k) {
            int length = 700 + (int)(nextRandom(state) % 12000);
            lengths.push_back(length);
            appendFragment(genome, length, state);
            sites.push_back((int64_t)genome.size() - 6);
        }
        m.genomes.push_back(genome);
        m.sites.push_back(sites);
        for (int first = 0; first + CLONE_FRAGMENTS <= MAP_FRAGMENTS; first += CLONE_STEP) {
            char name[32];
            snprintf(name, sizeof name, "C%d_%02d", g + 1, first);
            ++ordinal;
            std::vector<int> size(lengths.begin() + first, lengths.begin() + first + CLONE_FRAGMENTS);
            std::vector<int> pos;
            for (int s : size)
                pos.push_back(positionOf(s));
            std::sort(pos.begin(), pos.end());
            std::sort(size.begin(), size.end());
            std::string header = "         " + std::string(name) + " " + std::to_string(size.size()) + " 1\n";
            bands += header;
            sizes += header;
            for (int p : pos)
                bands += std::to_string(p) + "\n";
            for (int s : size)
                sizes += std::to_string(s) + "\n";
            bands += "-1\n";
            sizes += "-1\n";
            table += std::to_string(g + 1) + "\t" + name + "\t1\t" + std::to_string(ordinal) + "\t" +
                     std::to_string(first) + "\t" + std::to_string(first + CLONE_FRAGMENTS) +
                     "\tok\t-\t-\n";
        }
    }
    writeFile(dir + "/contigs.tsv", table);
    writeFile(dir + "/1.bands", bands);
    writeFile(dir + "/1.sizes", sizes);
    return m;
}

std::string fragmentsOf(const HandMap& m, int genome, int first, int last) {
    const std::vector<int64_t>& s = m.sites[(size_t)genome];
    return m.genomes[(size_t)genome].substr((size_t)s[(size_t)first],
                                            (size_t)(s[(size_t)last + 1] + 6 - s[(size_t)first]));
}

std::vector<std::vector<std::string>> tsvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        rows.emplace_back(1);
        for (char c : line)
            if (c == '\t')
                rows.back().emplace_back();
            else
                rows.back().back() += c;
    }
    return rows;
}

std::string gzipped(const std::string& text) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&z, text.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = (uInt)text.size();
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = (uInt)out.size();
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

} // namespace zetest
