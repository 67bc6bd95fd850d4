#include "mapTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "zeContigTable.h"
#include "zeContigTableReader.h"

namespace zetest {

std::vector<int> spacedBands(int base, int first, int last) {
    std::vector<int> bands;
    for (int k = first; k <= last; ++k)
        bands.push_back(base + 4 * k);
    return bands;
}

Fingerprint printOf(const std::vector<std::vector<int>>& parts, const std::string& name) {
    Fingerprint f;
    f.clone = name;
    for (const std::vector<int>& part : parts)
        f.bands.insert(f.bands.end(), part.begin(), part.end());
    std::sort(f.bands.begin(), f.bands.end());
    return f;
}

std::vector<int> fragmentBands(int fragments, unsigned seed) {
    std::vector<int> bands;
    unsigned state = seed * 2654435761u + 1;
    for (int k = 0; k < fragments; ++k) {
        state = state * 1664525u + 1013904223u;
        bands.push_back((int)((state >> 8) % 4600));
    }
    return bands;
}

HandClone cloneOf(const std::string& name, const std::vector<int>& genome, int first, int count) {
    HandClone c{name, {}};
    for (int k = first; k < first + count; ++k)
        c.bands.push_back(genome.at((size_t)k));
    return c;
}

std::vector<HandClone> chainOf(const std::string& prefix, const std::vector<int>& genome, int from,
                               int count, int step, int fragments) {
    std::vector<HandClone> clones;
    for (int k = 0; k < count; ++k) {
        char name[32];
        snprintf(name, sizeof name, "%s%02d", prefix.c_str(), k);
        clones.push_back(cloneOf(name, genome, from + step * k, fragments));
    }
    return clones;
}

std::string bandsFile(const std::vector<HandClone>& clones, const std::string& gel) {
    std::string out;
    for (const HandClone& c : clones) {
        std::vector<int> bands = c.bands;
        std::sort(bands.begin(), bands.end());
        bands.erase(std::unique(bands.begin(), bands.end()), bands.end());
        out += "         " + c.name + " " + std::to_string(bands.size()) + " " + gel + "\n";
        for (int b : bands)
            out += std::to_string(b) + "\n";
        out += "-1\n";
    }
    return out;
}

RunResult runContig(const std::vector<std::string>& args) {
    return run(ZECONTIG_BIN, args);
}

std::vector<ContigRow> contigRows(const std::string& table) {
    std::vector<ContigTableRow> read;
    std::string error;
    EXPECT_TRUE(parseContigTable(table, "table", read, error)) << error;
    std::vector<ContigRow> rows;
    for (const ContigTableRow& t : read) {
        ContigRow r;
        r.contig = t.contig;
        r.clone = t.clone;
        r.gel = t.gel;
        r.ordinal = std::to_string(t.ordinal);
        r.left = t.contig == 0 ? "-" : std::to_string(t.left);
        r.right = t.contig == 0 ? "-" : std::to_string(t.right);
        r.status = statusName(t.status);
        r.buriedIn = t.buriedIn.empty() ? "-" : t.buriedIn;
        for (int contig : t.links)
            r.links += (r.links.empty() ? "" : ",") + std::to_string(contig);
        if (r.links.empty()) r.links = "-";
        rows.push_back(r);
    }
    return rows;
}

std::vector<TilingRow> tilingRows(const std::string& table) {
    std::istringstream in(table);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "contig\tclone\tgel\tordinal\tleft\tright\tweak\tstatus");
    std::vector<TilingRow> rows;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        TilingRow r;
        std::string contig;
        std::getline(fields, contig, '\t');
        r.contig = std::stoi(contig);
        for (std::string* f : {&r.clone, &r.gel, &r.ordinal, &r.left, &r.right, &r.weak, &r.status})
            std::getline(fields, *f, '\t');
        rows.push_back(r);
    }
    return rows;
}

std::map<std::string, ContigRow> rowsByClone(const std::vector<ContigRow>& rows) {
    std::map<std::string, ContigRow> byClone;
    for (const ContigRow& r : rows)
        byClone[r.clone] = r;
    return byClone;
}

std::map<std::string, TrueSpan> trueSpans(const std::string& truthPath) {
    std::map<std::string, TrueSpan> truth;
    std::istringstream in(readFile(truthPath));
    std::string line;
    std::getline(in, line);
    const bool hasChimeric = line.find("\tchimeric") != std::string::npos;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string clone, gel;
        int chimeric = 0;
        TrueSpan c;
        fields >> clone >> gel >> c.start >> c.end;
        if (hasChimeric) fields >> chimeric;
        c.chimeric = chimeric == 1;
        truth[clone] = c;
    }
    return truth;
}

int falseJoins(const std::vector<ContigRow>& rows, const std::map<std::string, TrueSpan>& truth) {
    std::map<int, std::vector<TrueSpan>> contigs;
    for (const ContigRow& r : rows)
        if (r.contig > 0 && !truth.at(r.clone).chimeric)
            contigs[r.contig].push_back(truth.at(r.clone));
    int joins = 0;
    for (auto& [number, clones] : contigs) {
        std::sort(clones.begin(), clones.end(),
                  [](const TrueSpan& a, const TrueSpan& b) { return a.start < b.start; });
        long long end = clones.front().end;
        bool apart = false;
        for (const TrueSpan& c : clones) {
            apart = apart || c.start >= end;
            end = std::max(end, c.end);
        }
        joins += apart;
    }
    return joins;
}

int contigsOfTwoOrMore(const std::vector<ContigRow>& rows) {
    std::map<int, int> sizes;
    for (const ContigRow& r : rows)
        if (r.contig > 0) ++sizes[r.contig];
    int contigs = 0;
    for (const auto& [number, size] : sizes)
        contigs += size >= 2;
    return contigs;
}

std::vector<std::pair<int, int>> pairEnds(const std::vector<PairScore>& pairs) {
    std::vector<std::pair<int, int>> out;
    for (const PairScore& p : pairs)
        out.push_back({p.first, p.second});
    return out;
}

} // namespace zetest
