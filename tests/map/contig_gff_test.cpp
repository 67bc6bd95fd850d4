// zeContig --gff and --mtp on a hand-made library: the GFF3 file passes a
// validator (genometools' gt gff3validator, where installed) and reads
// back to the table's places and the tiling path; the tiling path covers
// each contig with clones as placed in the table, ok ones between its ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "mapTestSupport.h"
#include "zeContigGff.h"

using namespace zetest;

namespace {

// A name with every character GFF3 reserves in column 9, and a blank.
const std::string ODD_NAME = "A;b=c&d,e%f\x01g";

struct Outputs {
    TempDir dir;
    std::string table, mtp, gff;
};

// Two chains (one clone under the odd name), a buried clone and a
// chimeric clone joining the chains.
void buildLibrary(Outputs& o) {
    std::vector<int> genome = fragmentBands(800, 31);
    std::vector<HandClone> gel = chainOf("A", genome, 0, 30);
    gel[7].name = ODD_NAME;
    std::vector<HandClone> b = chainOf("B", genome, 400, 20);
    gel.insert(gel.end(), b.begin(), b.end());
    gel.push_back(cloneOf("Bur", genome, 29, 20));
    HandClone x = cloneOf("X", genome, 60, 22);
    HandClone piece = cloneOf("", genome, 460, 22);
    x.bands.insert(x.bands.end(), piece.bands.begin(), piece.bands.end());
    gel.push_back(x);
    writeFile(o.dir / "1.bands", bandsFile(gel, "1"));
    RunResult r = runContig(
        {"-t", "2", "--mtp", o.dir / "map.mtp", "--gff", o.dir / "map.gff3", o.dir / "1.bands"});
    ASSERT_EQ(r.status, 0) << r.err;
    o.table = r.out;
    o.mtp = readFile(o.dir / "map.mtp");
    o.gff = readFile(o.dir / "map.gff3");
}

std::string decoded(const std::string& text) {
    std::string out;
    for (size_t k = 0; k < text.size(); ++k)
        if (text[k] == '%' && k + 2 < text.size()) {
            out += (char)std::stoi(text.substr(k + 1, 2), nullptr, 16);
            k += 2;
        } else {
            out += text[k];
        }
    return out;
}

std::vector<std::string> split(const std::string& line, char by) {
    std::vector<std::string> parts;
    std::istringstream in(line);
    std::string part;
    while (std::getline(in, part, by))
        parts.push_back(part);
    return parts;
}

// A feature as "contig clone gel ordinal left right <status or weak>",
// the shape of the tables' rows, 0-based again.
struct Feature {
    std::string type, row;
};

std::string rowText(int contig, const std::string& clone, const std::string& gel,
                    const std::string& ordinal, const std::string& left, const std::string& right,
                    const std::string& last) {
    return std::to_string(contig) + " " + clone + " " + gel + " " + ordinal + " " + left + " " +
           right + " " + last;
}

} // namespace

TEST(ContigGff, ReservedCharactersArePercentEncoded) {
    EXPECT_EQ(gffEscaped(ODD_NAME), "A%3Bb%3Dc%26d%2Ce%25f%01g");
    EXPECT_EQ(gffEscaped("t\tn\nr\r\x7f"), "t%09n%0Ar%0D%7F");
    EXPECT_EQ(gffEscaped("L001:2:3"), "L001:2:3");
}

TEST(ContigGff, ReadsBackToTheTableAndTheTilingPath) {
    Outputs o;
    buildLibrary(o);
    std::vector<std::string> lines = split(o.gff, '\n');
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "##gff-version 3");
    std::map<std::string, long> regionEnd;
    std::vector<std::string> clones, tiles;
    for (size_t k = 1; k < lines.size(); ++k) {
        const std::string& line = lines[k];
        if (line.rfind("##sequence-region ", 0) == 0) {
            std::vector<std::string> w = split(line, ' ');
            ASSERT_EQ(w.size(), 4u) << line;
            EXPECT_EQ(w[2], "1");
            regionEnd[w[1]] = std::stol(w[3]);
            continue;
        }
        std::vector<std::string> f = split(line, '\t');
        ASSERT_EQ(f.size(), 9u) << line;
        EXPECT_EQ(f[1], "zeContig");
        EXPECT_EQ(f[5] + f[6] + f[7], "...");
        std::map<std::string, std::string> attr;
        for (const std::string& pair : split(f[8], ';')) {
            size_t eq = pair.find('=');
            ASSERT_NE(eq, std::string::npos) << line;
            attr[pair.substr(0, eq)] = decoded(pair.substr(eq + 1));
        }
        ASSERT_EQ(f[0].rfind("contig", 0), 0u);
        int contig = std::stoi(f[0].substr(6));
        std::string left = std::to_string(std::stol(f[3]) - 1);
        EXPECT_LE(std::stol(f[4]), regionEnd.at(f[0]));
        if (f[2] == "clone") {
            EXPECT_EQ(attr["ID"], attr["Name"] + ":" + attr["gel"] + ":" + attr["ordinal"]);
            clones.push_back(rowText(contig, attr["Name"], attr["gel"], attr["ordinal"], left, f[4],
                                     attr["status"]));
        } else {
            EXPECT_EQ(f[2], "tiling_path_clone");
            tiles.push_back(rowText(contig, attr["Name"], attr["gel"], attr["ordinal"], left, f[4],
                                    attr.count("weak") ? "weak" : "-"));
        }
    }
    std::vector<std::string> placed;
    std::map<std::string, long> highest;
    for (const ContigRow& r : contigRows(o.table)) {
        if (r.contig == 0) continue;
        placed.push_back(rowText(r.contig, r.clone, r.gel, r.ordinal, r.left, r.right, r.status));
        long& end = highest["contig" + std::to_string(r.contig)];
        end = std::max(end, std::stol(r.right));
    }
    std::vector<std::string> path;
    for (const TilingRow& r : tilingRows(o.mtp))
        path.push_back(rowText(r.contig, r.clone, r.gel, r.ordinal, r.left, r.right, r.weak));
    EXPECT_EQ(clones, placed);
    EXPECT_EQ(tiles, path);
    EXPECT_EQ(regionEnd, highest);
    EXPECT_EQ(regionEnd.size(), 2u);
    EXPECT_NE(
        std::find(clones.begin(), clones.end(),
                  rowText(1, ODD_NAME, "1", "8", rowsByClone(contigRows(o.table)).at(ODD_NAME).left,
                          rowsByClone(contigRows(o.table)).at(ODD_NAME).right, "ok")),
        clones.end());
    EXPECT_EQ(o.gff.find("\tID=X:"), std::string::npos) << "the chimeric clone is left out";
}

TEST(ContigGff, PassesTheValidator) {
    Outputs o;
    buildLibrary(o);
    std::string gt = programOnPath("gt");
    if (gt.empty()) GTEST_SKIP() << "genometools' gt is not installed (scripts/deps.sh test)";
    RunResult r = run(gt, {"gff3validator", o.dir / "map.gff3"});
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("input is valid GFF3"), std::string::npos) << r.out;
}

TEST(ContigGff, TilingPathCoversEachContig) {
    Outputs o;
    buildLibrary(o);
    std::map<std::string, ContigRow> byClone = rowsByClone(contigRows(o.table));
    std::map<int, long> lowest, highest;
    std::map<int, int> placed;
    for (const auto& entry : byClone) {
        const ContigRow& r = entry.second;
        if (r.contig == 0) continue;
        ++placed[r.contig];
        long left = std::stol(r.left), right = std::stol(r.right);
        lowest[r.contig] = lowest.count(r.contig) ? std::min(lowest[r.contig], left) : left;
        highest[r.contig] = std::max(highest[r.contig], right);
    }
    std::map<int, std::vector<TilingRow>> paths;
    for (const TilingRow& r : tilingRows(o.mtp))
        paths[r.contig].push_back(r);
    ASSERT_EQ(paths.size(), 2u);
    for (const auto& entry : paths) {
        int contig = entry.first;
        const std::vector<TilingRow>& path = entry.second;
        EXPECT_LT(path.size(), (size_t)placed[contig]);
        EXPECT_EQ(std::stol(path.front().left), lowest[contig]);
        EXPECT_EQ(std::stol(path.back().right), highest[contig]);
        for (size_t k = 0; k < path.size(); ++k) {
            const ContigRow& r = byClone.at(path[k].clone);
            EXPECT_EQ(r.contig, contig);
            EXPECT_EQ(path[k].status, r.status);
            if (k > 0 && k + 1 < path.size()) {
                EXPECT_EQ(r.status, "ok");
            }
            EXPECT_EQ(r.left + " " + r.right + " " + r.ordinal,
                      path[k].left + " " + path[k].right + " " + path[k].ordinal);
            EXPECT_EQ(path[k].weak, "-") << "chain clones share most of their bands";
            if (k == 0) continue;
            EXPECT_LE(std::stol(path[k - 1].left), std::stol(path[k].left));
            EXPECT_LT(std::stol(path[k].left), std::stol(path[k - 1].right));
            EXPECT_LT(std::stol(path[k - 1].right), std::stol(path[k].right));
        }
    }
}

TEST(ContigGff, OutputsAndTheirOptionsAreChecked) {
    TempDir t;
    std::vector<int> genome = fragmentBands(200, 32);
    const std::string bands = t / "1.bands", table = t / "map.tsv";
    writeFile(bands, bandsFile(chainOf("A", genome, 0, 10), "1"));
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{"--mtp-shared", "0"},
         "--mtp-shared needs a whole number from 1 to 100000, not '0' (zeContig -h for help)"},
        {{"--mtp-shared=x"},
         "--mtp-shared needs a whole number from 1 to 100000, not 'x' (zeContig -h for help)"},
        {{"--mtp="}, "--mtp needs a file name (zeContig -h for help)"},
        {{"--gff", ""}, "--gff needs a file name (zeContig -h for help)"},
        {{"--previous="}, "--previous needs a file name (zeContig -h for help)"},
        {{"--mtp", table}, "the table and the tiling path are one file, '" + table + "'"},
        {{"--mtp", t / "a", "--gff", t / "a"},
         "the tiling path and the GFF file are one file, '" + t / "a" + "'"},
        {{"--gff", bands},
         "the GFF file '" + bands + "' is the bands file '" + bands +
             "': it would be written over"},
    };
    for (const Case& c : cases) {
        writeFile(table, "earlier\n");
        std::vector<std::string> args = {"-o", table};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.push_back(bands);
        RunResult r = runContig(args);
        EXPECT_EQ(r.status, 1) << c.error;
        EXPECT_EQ(r.err, "ERROR: " + c.error + "\n");
        EXPECT_EQ(readFile(table), "earlier\n");
        EXPECT_EQ(listDir(t.path()), (std::vector<std::string>{"1.bands", "map.tsv"})) << c.error;
    }
    // A tiling path and GFF file of no contig are a header alone.
    writeFile(bands, bandsFile({cloneOf("solo", genome, 0, 30)}, "1"));
    RunResult solo = runContig({"--mtp", t / "m.tsv", "--gff", t / "m.gff3", bands});
    ASSERT_EQ(solo.status, 0) << solo.err;
    EXPECT_EQ(readFile(t / "m.tsv"), "contig\tclone\tgel\tordinal\tleft\tright\tweak\tstatus\n");
    EXPECT_EQ(readFile(t / "m.gff3"), "##gff-version 3\n");
}
