// The project generator: same seed gives the same bytes, every file it
// writes reads back in the project formats, bad knobs are refused, and the
// committed example is exactly what scripts/make-example.sh produces.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "testSupport.h"

using namespace zetest;

namespace {

const char* const PROJECT_FILES[] = {"info", "raw-bands", "traces", "norm-fac", "names"};

RunResult generate(const std::string& dir, std::vector<std::string> args) {
    args.insert(args.begin(), {"--out", dir});
    return run(ZE_GENERATOR_BIN, args);
}

void generateOk(const std::string& dir, const std::vector<std::string>& args) {
    RunResult r = generate(dir, args);
    ASSERT_EQ(r.status, 0) << r.err;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

// key -> words after "=" of every "key = value" line of an info file.
std::map<std::string, std::vector<std::string>> infoEntries(const std::string& text) {
    std::map<std::string, std::vector<std::string>> entries;
    std::vector<std::string> ls = lines(text);
    for (size_t i = 2; i < ls.size(); ++i) {
        std::vector<std::string> w = words(ls[i]);
        EXPECT_GE(w.size(), 3u) << ls[i];
        EXPECT_EQ(w[1], "=") << ls[i];
        entries[w[0]] = std::vector<std::string>(w.begin() + 2, w.end());
    }
    return entries;
}

struct TracesHeader {
    int rowLength = -1, rowCount = -1;
    size_t bodyStart = 0;
};

// Two words with a number each, then two whole lines; the body follows the
// second line end.
TracesHeader parseTracesHeader(const std::string& bytes) {
    TracesHeader h;
    std::istringstream in(bytes);
    std::string w1, w2, skip;
    in >> w1 >> h.rowLength >> w2 >> h.rowCount >> std::ws;
    std::getline(in, skip);
    std::getline(in, skip);
    EXPECT_TRUE(in.good());
    EXPECT_EQ(w1, "WIDTH");
    EXPECT_EQ(w2, "ROWS");
    h.bodyStart = (size_t)in.tellg();
    return h;
}

struct Pair {
    int laneId;
    double norm, gel, size;
    int fields;
};

// Blocks of a norm-fac file: count line, then that many pair lines.
std::vector<std::vector<Pair>> normFacBlocks(const std::string& text) {
    std::vector<std::vector<Pair>> blocks;
    std::vector<std::string> ls = lines(text);
    EXPECT_EQ(ls.at(0), "NORMFACTORS");
    size_t i = 1;
    while (i < ls.size()) {
        int count = std::stoi(ls[i++]);
        std::vector<Pair> block;
        for (int k = 0; k < count && i < ls.size(); ++k, ++i) {
            std::vector<std::string> w = words(ls[i]);
            Pair p{std::stoi(w.at(0)), std::stod(w.at(1)), std::stod(w.at(2)),
                   w.size() > 3 ? std::stod(w[3]) : 0.0, (int)w.size()};
            block.push_back(p);
        }
        EXPECT_EQ((int)block.size(), count);
        blocks.push_back(block);
    }
    return blocks;
}

struct RawBand {
    int sample;
    double position, value1, value2;
    int kind;
};

std::vector<RawBand> rawBands(const std::string& text) {
    std::istringstream in(text);
    std::string header;
    std::getline(in, header);
    EXPECT_EQ(words(header).at(0), "BANDS");
    EXPECT_GT(words(header).size(), 1u) << "the header word alone would swallow a record";
    std::vector<RawBand> out;
    RawBand b;
    while (in >> b.sample >> b.position >> b.value1 >> b.value2 >> b.kind)
        out.push_back(b);
    EXPECT_TRUE(in.eof()) << "trailing text after the last record";
    return out;
}

struct NameEntry {
    bool hasClone;
    std::string clone, digest;
};

// The names file read the way the step reads it: number, status word, one
// dropped character, the rest of the line without its last character;
// quotes split clone and digest, blanks and slashes become underscores.
std::vector<NameEntry> readNames(const std::string& text, int samples) {
    std::istringstream in(text);
    std::string header;
    in >> header >> std::ws;
    EXPECT_EQ(header, "NAMES");
    std::vector<NameEntry> out;
    int counter = 0;
    for (int s = 0; s < samples; ++s) {
        int lane;
        std::string status, rest;
        char dropped;
        in >> lane >> status >> dropped;
        EXPECT_TRUE(in.good()) << "entry " << s;
        std::getline(in, rest);
        if (!rest.empty()) rest.pop_back();
        NameEntry e{status != "-", "", ""};
        if (e.hasClone) {
            if (rest.empty()) {
                e.clone = "unnamed_" + std::to_string(counter);
                e.digest = "digest";
            }
            int quotes = 0;
            for (char c : rest) {
                if (c == ' ' || c == '/') c = '_';
                if (c == '"')
                    ++quotes;
                else if (quotes == 0)
                    e.clone += c;
                else if (quotes == 2)
                    e.digest += c;
            }
            ++counter;
        }
        out.push_back(e);
    }
    in >> std::ws;
    EXPECT_TRUE(in.eof()) << "entries beyond the sample count";
    return out;
}

// ------------------------------------------------------------------ tests

TEST(GeneratorDeterminism, SameSeedGivesIdenticalFilesOtherSeedDoesNot) {
    TempDir t;
    std::vector<std::string> knobs = {"--lanes",      "9",   "--dyes", "2",
                                      "--row-length", "400", "--rows", "6"};
    std::vector<std::string> a = knobs, b = knobs, c = knobs;
    a.insert(a.end(), {"--seed", "42"});
    b.insert(b.end(), {"--seed", "42"});
    c.insert(c.end(), {"--seed", "43"});
    generateOk(t / "a", a);
    generateOk(t / "b", b);
    generateOk(t / "c", c);
    for (const char* f : PROJECT_FILES) {
        std::string fa = readFile(t / "a/" + f);
        EXPECT_FALSE(fa.empty()) << f;
        EXPECT_EQ(fa, readFile(t / "b/" + f)) << f;
    }
    EXPECT_NE(readFile(t / "a/raw-bands"), readFile(t / "c/raw-bands"));
    EXPECT_NE(readFile(t / "a/traces"), readFile(t / "c/traces"));
    EXPECT_NE(readFile(t / "a/norm-fac"), readFile(t / "c/norm-fac"));
}

TEST(GeneratorFormat, InfoHoldsEveryKnobWithWordValuesLastOnTheirLine) {
    TempDir t;
    generateOk(t / "p",
               {"--lanes",       "5",      "--dyes",       "3",   "--marker-repeat", "2",
                "--method",      "linear", "--row-length", "200", "--rows",          "4",
                "--output-x",    "1234",   "--output-y",   "17",  "--gel-number",    "G5",
                "--compression", "true",   "--username",   "ann", "--imagewidth",    "450"});
    std::string text = readFile(t / "p/info");
    std::vector<std::string> ls = lines(text);
    ASSERT_GE(ls.size(), 3u);
    EXPECT_EQ(ls[0], "VERSION 1.0");
    EXPECT_EQ(ls[1], "INFO");
    auto e = infoEntries(text);
    std::map<std::string, std::string> expected = {
        {"lanenumber", "5"},      {"dyenumber", "3"},      {"markerrepeat", "2"},
        {"normmethod", "linear"}, {"outputxsize", "1234"}, {"outputysize", "17"},
        {"gelnumber", "G5"},      {"compression", "true"}, {"username", "ann"},
        {"imagewidth", "450"}};
    for (const auto& kv : expected) {
        ASSERT_TRUE(e.count(kv.first)) << kv.first;
        EXPECT_EQ(e[kv.first], std::vector<std::string>{kv.second}) << kv.first;
    }
    // Values read as one word without a line skip must end their line.
    for (const char* key : {"gelnumber", "standardfile", "compression", "lockdirection",
                            "normmethod", "dyenumber", "zonenumber"})
        if (e.count(key)) {
            EXPECT_EQ(e[key].size(), 1u) << key;
        }
    EXPECT_EQ(e["componentorder"], std::vector<std::string>{"1,2,3,4"});
}

TEST(GeneratorFormat, DefaultsGiveTheDocumentedProject) {
    TempDir t;
    generateOk(t / "p", {});
    auto e = infoEntries(readFile(t / "p/info"));
    std::map<std::string, std::string> expected = {
        {"lanenumber", "25"},        {"dyenumber", "1"},      {"markerrepeat", "4"},
        {"normmethod", "nonlinear"}, {"outputxsize", "2000"}, {"outputysize", "30"},
        {"gelnumber", "17"},         {"compression", "gzip"}, {"imagewidth", "1500"}};
    for (const auto& kv : expected)
        EXPECT_EQ(e[kv.first], std::vector<std::string>{kv.second}) << kv.first;
    TracesHeader h = parseTracesHeader(readFile(t / "p/traces"));
    EXPECT_EQ(h.rowLength, 1500);
    EXPECT_EQ(h.rowCount, 14);
    EXPECT_EQ(normFacBlocks(readFile(t / "p/norm-fac")).at(0).at(0).fields, 4);
}

TEST(GeneratorFormat, TracesBodyIsExactlySamplesRowsRowLengthWithPeaksAtBands) {
    TempDir t;
    const int lanes = 5, dyes = 2, rows = 7, rowLength = 333;
    generateOk(t / "p", {"--lanes", "5", "--dyes", "2", "--marker-repeat", "2", "--rows", "7",
                         "--row-length", "333", "--seed", "9"});
    std::string bytes = readFile(t / "p/traces");
    TracesHeader h = parseTracesHeader(bytes);
    EXPECT_EQ(h.rowLength, rowLength);
    EXPECT_EQ(h.rowCount, rows);
    ASSERT_EQ(bytes.size() - h.bodyStart, (size_t)lanes * dyes * rows * rowLength);

    auto byteAt = [&](int sample, int row, int g) {
        return (unsigned char)bytes[h.bodyStart + ((size_t)sample * rows + row) * rowLength + g];
    };
    auto trace16 = [&](int sample, int g) {
        return byteAt(sample, rows - 1, g) * 256 + byteAt(sample, 0, g);
    };
    // High bytes stay below 128: the 16-bit traces are never negative.
    for (int s = 0; s < lanes * dyes; ++s)
        for (int g = 0; g < rowLength; ++g)
            ASSERT_LT(byteAt(s, rows - 1, g), 128);

    // Strong bands stand out of both the 16-bit trace and the middle row.
    int checked = 0;
    for (const RawBand& b : rawBands(readFile(t / "p/raw-bands"))) {
        int g = (int)(b.position + 0.5);
        if (b.value1 < 8000 || g < 0 || g >= rowLength) continue;
        std::vector<int> trace;
        for (int i = 0; i < rowLength; ++i)
            trace.push_back(trace16(b.sample, i));
        std::nth_element(trace.begin(), trace.begin() + rowLength / 2, trace.end());
        int median = trace[rowLength / 2];
        EXPECT_GT(trace16(b.sample, g), median + 3000) << "sample " << b.sample << " at " << g;
        EXPECT_GT(byteAt(b.sample, rows / 2, g), 60) << "sample " << b.sample << " at " << g;
        ++checked;
    }
    EXPECT_GT(checked, 20);
}

TEST(GeneratorFormat, NormFacHasOneRisingBlockPerMarkerLaneWithFallingSizes) {
    TempDir t;
    const int lanes = 25, dyes = 2, repeat = 4, rowLength = 1500;
    generateOk(t / "p", {"--lanes", "25", "--dyes", "2", "--marker-repeat", "4", "--method",
                         "linear", "--seed", "5"});
    auto blocks = normFacBlocks(readFile(t / "p/norm-fac"));
    ASSERT_EQ((int)blocks.size(), (lanes - 1) / repeat + 1);
    for (size_t k = 0; k < blocks.size(); ++k) {
        const auto& b = blocks[k];
        EXPECT_GE(b.size(), 15u);
        EXPECT_LE(b.size(), 30u);
        EXPECT_EQ(b.size(), blocks[0].size()) << "one ladder for the whole gel";
        for (size_t i = 0; i < b.size(); ++i) {
            EXPECT_EQ(b[i].laneId, (int)k * repeat * dyes);
            EXPECT_EQ(b[i].fields, 4);
            EXPECT_EQ(b[i].norm, blocks[0][i].norm) << "same standard positions on every lane";
            EXPECT_EQ(b[i].size, blocks[0][i].size);
            EXPECT_GE(b[i].gel, 0.0);
            EXPECT_LT(b[i].gel, rowLength);
            if (i == 0) continue;
            EXPECT_GT(b[i].norm, b[i - 1].norm);
            EXPECT_GT(b[i].gel, b[i - 1].gel);
            EXPECT_LT(b[i].size, b[i - 1].size);
        }
        // Most of the standard scale and of the row are calibrated.
        EXPECT_LT(b.front().norm, 300);
        EXPECT_GT(b.back().norm, 4300);
        EXPECT_GT(b.back().gel - b.front().gel, 0.7 * rowLength);
        EXPECT_GE(b.front().size, 10000);
        EXPECT_LE(b.back().size, 100);
    }
    // A smiling gel: the middle lane runs farther than both edge lanes, and
    // neighbouring marker lanes differ only slightly.
    size_t mid = blocks.size() / 2;
    EXPECT_GT(blocks[mid].back().gel, blocks.front().back().gel + 2);
    EXPECT_GT(blocks[mid].back().gel, blocks.back().back().gel + 2);
    for (size_t k = 1; k < blocks.size(); ++k)
        for (size_t i = 0; i < blocks[k].size(); ++i)
            EXPECT_LT(std::abs(blocks[k][i].gel - blocks[k - 1][i].gel), 0.025 * rowLength);
}

// A ladder that reaches past the scale's end moves only the ladder and the
// gel positions that depend on it: the names stay.
TEST(GeneratorFormat, LadderTopSetsTheLastMarkersStandardPosition) {
    TempDir t;
    generateOk(t / "a", {"--seed", "5"});
    generateOk(t / "b", {"--seed", "5", "--ladder-top", "4700"});
    auto a = normFacBlocks(readFile(t / "a/norm-fac"));
    auto b = normFacBlocks(readFile(t / "b/norm-fac"));
    ASSERT_FALSE(b.empty());
    ASSERT_EQ(a[0].size(), b[0].size());
    EXPECT_LT(a[0].back().norm, 4600);
    EXPECT_EQ(b[0].back().norm, 4700);
    EXPECT_EQ(a[0].front().norm, b[0].front().norm);
    EXPECT_EQ(readFile(t / "a/names"), readFile(t / "b/names"));
}

TEST(GeneratorFormat, NoSizesWritesThreeFieldPairs) {
    TempDir t;
    generateOk(t / "p",
               {"--lanes", "3", "--marker-repeat", "2", "--no-sizes", "--row-length", "100"});
    auto blocks = normFacBlocks(readFile(t / "p/norm-fac"));
    ASSERT_EQ(blocks.size(), 2u);
    for (const auto& b : blocks) {
        EXPECT_GE(b.size(), 3u);
        for (const Pair& p : b)
            EXPECT_EQ(p.fields, 3);
    }
}

TEST(GeneratorFormat, RawBandsOfSeveralKindsSomeJustBeyondTheCalibratedRange) {
    TempDir t;
    const int lanes = 25, repeat = 4;
    generateOk(t / "p", {"--seed", "11"});
    auto blocks = normFacBlocks(readFile(t / "p/norm-fac"));
    auto bands = rawBands(readFile(t / "p/raw-bands"));
    std::map<int, int> kinds;
    int beyond = 0, farBeyond = 0, previousSample = -1;
    double previousPosition = -1e9;
    for (const RawBand& b : bands) {
        ASSERT_GE(b.sample, 0);
        ASSERT_LT(b.sample, lanes);
        EXPECT_GE(b.sample, previousSample) << "records in sample order";
        if (b.sample == previousSample) {
            EXPECT_GE(b.position, previousPosition);
        }
        previousSample = b.sample;
        previousPosition = b.position;
        ++kinds[b.kind];
        // The range of lane l, interpolated between its marker lanes.
        int m = b.sample / repeat, t2 = b.sample % repeat;
        const auto& lo = blocks[m];
        const auto& hi = t2 ? blocks[m + 1] : blocks[m];
        double low = lo.front().gel + (hi.front().gel - lo.front().gel) * t2 / repeat;
        double high = lo.back().gel + (hi.back().gel - lo.back().gel) * t2 / repeat;
        double range = high - low;
        if (b.position < low - 1 || b.position > high + 1) ++beyond;
        if (b.position < low - 0.05 * range || b.position > high + 0.05 * range) ++farBeyond;
    }
    EXPECT_EQ(kinds.size(), 3u);
    EXPECT_GT(kinds[1], 0.75 * bands.size());
    EXPECT_GT(kinds[2], 0);
    EXPECT_GT(kinds[3], 0);
    EXPECT_GE(beyond, 3);
    EXPECT_LT(beyond, 0.1 * bands.size());
    EXPECT_EQ(farBeyond, 0);
}

TEST(GeneratorFormat, NamesHaveMarkersUnnamedAndDuplicateSamples) {
    TempDir t;
    const int lanes = 17, dyes = 2, repeat = 8;
    generateOk(t / "p", {"--lanes", "17", "--dyes", "2", "--marker-repeat", "8", "--seed", "3"});
    auto names = readNames(readFile(t / "p/names"), lanes * dyes);
    ASSERT_EQ((int)names.size(), lanes * dyes);
    int unnamed = 0, duplicates = 0, noClone = 0;
    std::set<std::pair<std::string, std::string>> seen;
    for (int s = 0; s < lanes * dyes; ++s) {
        const NameEntry& e = names[s];
        bool marker = (s / dyes) % repeat == 0 && s % dyes == dyes - 1;
        if (marker) {
            EXPECT_FALSE(e.hasClone) << "marker sample " << s;
        }
        if (!e.hasClone) {
            ++noClone;
            continue;
        }
        EXPECT_FALSE(e.clone.empty()) << s;
        if (e.clone.rfind("unnamed_", 0) == 0) {
            ++unnamed;
            EXPECT_EQ(e.digest, "digest");
        } else {
            EXPECT_FALSE(e.digest.empty()) << s;
        }
        if (!seen.insert({e.clone, e.digest}).second) ++duplicates;
    }
    EXPECT_GE(noClone, 3);
    EXPECT_GE(unnamed, 1);
    EXPECT_GE(duplicates, 1);
    EXPECT_LT(unnamed + duplicates + noClone, lanes * dyes / 3);
}

TEST(GeneratorKnobs, BadKnobsAreRefusedWithAMessageAndNothingWritten) {
    TempDir t;
    const std::vector<std::vector<std::string>> bad = {
        {"--lanes", "24"}, // last lane not a marker lane
        {"--lanes", "25", "--marker-repeat", "5"},
        {"--lanes", "0"},
        {"--marker-repeat", "0"},
        {"--dyes", "0"},
        {"--lanes", "25x"},
        {"--method", "spline"},
        {"--rows", "2"},
        {"--row-length", "99"},
        {"--output-x", "0"},
        {"--seed", "abc"},
        {"--seed", "-1"},
        {"--compression", "gzip -9"},
        {"--username", "Ann Smith"},
        {"--gel-number", ""},
        {"--gel-number", "a/b"},
        {"--sizes=yes"},
        {"--frobnicate", "1"},
        {"--lanes"},
        {"--true-replicates=1"},
        {"--ladder-top", "999"},
        {"--ladder-top", "4831"},
        {"--lane", "5"},
        {"stray"},
        // Three clone samples: no duplicate to mismatch.
        {"--lanes", "5", "--mismatched-replicate"},
    };
    for (const auto& args : bad) {
        std::string shown;
        for (const auto& a : args)
            shown += a + " ";
        RunResult r = generate(t / "p", args);
        EXPECT_EQ(r.status, 1) << shown;
        EXPECT_EQ(r.err.rfind("ERROR: ", 0), 0u) << shown << r.err;
        EXPECT_FALSE(fileExists(t / "p")) << shown;
    }
    RunResult r = run(ZE_GENERATOR_BIN, {"--lanes", "5"});
    EXPECT_EQ(r.status, 1) << "no --out";
    EXPECT_NE(r.err.find("--out"), std::string::npos);

    r = generate(t / "p", {"--lanes", "24", "--marker-repeat", "4"});
    EXPECT_NE(r.err.find("marker"), std::string::npos) << r.err;
}

TEST(GeneratorKnobs, HelpListsEveryOption) {
    RunResult r = run(ZE_GENERATOR_BIN, {"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* opt :
         {"--out", "--seed", "--lanes", "--dyes", "--marker-repeat", "--method", "--sizes",
          "--no-sizes", "--row-length", "--rows", "--output-x", "--output-y", "--gel-number",
          "--compression", "--username", "--imagewidth", "--true-replicates",
          "--mismatched-replicate", "--ladder-top", "--help"})
        EXPECT_NE(r.out.find(opt), std::string::npos) << opt;
}

TEST(GeneratorKnobs, VersionIsOneLine) {
    RunResult r = run(ZE_GENERATOR_BIN, {"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "zeGenProject (zestep) 1.0\n");
}

TEST(GeneratorKnobs, OptionsAlsoTakeEqualsForm) {
    TempDir t;
    generateOk(t / "a", {"--lanes=9", "--seed=8", "--row-length=200"});
    generateOk(t / "b", {"--lanes", "9", "--seed", "8", "--row-length", "200"});
    for (const char* f : PROJECT_FILES)
        EXPECT_EQ(readFile(t / "a/" + f), readFile(t / "b/" + f));
}

// ------------------------------------------------------------ the example

// Raw-band lines per sample.
std::map<int, std::vector<std::string>> rawBandLines(const std::string& text) {
    std::map<int, std::vector<std::string>> out;
    std::vector<std::string> all = lines(text);
    for (size_t k = 1; k < all.size(); ++k)
        out[std::stoi(words(all[k]).at(0))].push_back(all[k]);
    return out;
}

// Bands-file blocks: clone name -> the positions of each of its copies.
std::map<std::string, std::vector<std::vector<int>>> bandBlocks(const std::string& text) {
    std::map<std::string, std::vector<std::vector<int>>> out;
    std::vector<int>* block = nullptr;
    for (const std::string& l : lines(text)) {
        if (l.rfind("         ", 0) == 0) {
            std::vector<std::string> w = words(l);
            out[w.at(0)].emplace_back();
            block = &out[w.at(0)].back();
        } else if (l != "-1") {
            block->push_back(std::stoi(l));
        }
    }
    return out;
}

// Samples that repeat the clone and digest of an earlier sample.
std::vector<int> duplicateSamples(const std::string& namesText, int samples) {
    std::vector<NameEntry> names = readNames(namesText, samples);
    std::set<std::pair<std::string, std::string>> seen;
    std::vector<int> out;
    for (int s = 0; s < samples; ++s)
        if (names[s].hasClone && !seen.insert({names[s].clone, names[s].digest}).second)
            out.push_back(s);
    return out;
}

TEST(GeneratorReplicates, CopiesCarryTheFirstCopysFragmentsWithPositionNoise) {
    TempDir t;
    generateOk(t / "plain", {"--seed", "5", "--lanes", "41"});
    generateOk(t / "same", {"--seed", "5", "--lanes", "41", "--true-replicates"});
    generateOk(t / "odd", {"--seed", "5", "--lanes", "41", "--mismatched-replicate"});
    for (const char* f : {"info", "norm-fac", "names"}) {
        EXPECT_EQ(readFile(t / "same/" + f), readFile(t / "plain/" + f)) << f;
        EXPECT_EQ(readFile(t / "odd/" + f), readFile(t / "plain/" + f)) << f;
    }
    std::vector<int> dups = duplicateSamples(readFile(t / "plain/names"), 41);
    ASSERT_GE(dups.size(), 2u);
    auto plain = rawBandLines(readFile(t / "plain/raw-bands"));
    auto same = rawBandLines(readFile(t / "same/raw-bands"));
    auto odd = rawBandLines(readFile(t / "odd/raw-bands"));
    // Only the duplicates change; the mismatched copy keeps bands of its
    // own, as without the knob.
    for (int s = 0; s < 41; ++s) {
        bool dup = std::find(dups.begin(), dups.end(), s) != dups.end();
        EXPECT_EQ(same[s] == plain[s], !dup) << s;
        EXPECT_EQ(odd[s], s == dups[0] ? plain[s] : same[s]) << s;
    }

    // After the step, nearly every band of a copy lies within the default
    // tolerance (7) of one of the first copy's: the rest is the gel's
    // normalisation error between marker lanes. A band near either end of
    // the range may be accepted on one lane and not on the other.
    ASSERT_EQ(run(ZESTEP5_BIN, {t / "same", "map1"}).status, 0);
    int compared = 0;
    for (const auto& clone : bandBlocks(readFile(t / "same/17.bands"))) {
        const auto& copies = clone.second;
        for (size_t c = 1; c < copies.size(); ++c) {
            EXPECT_LE(std::abs((int)copies[c].size() - (int)copies[0].size()), 1) << clone.first;
            int near = 0;
            for (int b : copies[c])
                for (int a : copies[0])
                    if (std::abs(a - b) <= 7) {
                        ++near;
                        break;
                    }
            EXPECT_GE(near, 0.9 * copies[c].size()) << clone.first;
            compared += (int)copies[c].size();
        }
    }
    EXPECT_GT(compared, 40);
}

std::string examplePath(const std::string& file) {
    return std::string(ZE_SOURCE_DIR) + "/examples/project/" + file;
}

TEST(ExampleProject, CommittedFilesAreWhatTheScriptRegenerates) {
    TempDir t;
    RunResult r = run("/bin/bash", {std::string(ZE_SOURCE_DIR) + "/scripts/make-example.sh",
                                    ZE_GENERATOR_BIN, t / "p"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* f : PROJECT_FILES) {
        ASSERT_TRUE(fileExists(examplePath(f))) << f;
        EXPECT_TRUE(readFile(examplePath(f)) == readFile(t / "p/" + f)) << f << " differs";
    }
}

void copyExample(const std::string& to) {
    RunResult r = run("/bin/mkdir", {"-p", to});
    ASSERT_EQ(r.status, 0);
    for (const char* f : PROJECT_FILES)
        writeFile(to + "/" + f, readFile(examplePath(f)));
}

TEST(ExampleProject, StepWritesGelBandsSizesAndResultsForEveryNamedSample) {
    TempDir t;
    std::string dir = t / "example";
    copyExample(dir);
    RunResult r = run(zeStep5Path(), {dir, "map1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");

    auto names = readNames(readFile(dir + "/names"), 25);
    std::map<std::pair<std::string, std::string>, int> copies;
    std::vector<std::string> expected;
    for (const NameEntry& e : names) {
        if (!e.hasClone || e.clone.empty()) continue;
        int copy = copies[{e.clone, e.digest}]++;
        std::string base = e.clone + "." + e.digest + "." + std::to_string(copy);
        for (const char* ext : {".bands", ".ics", ".ids", ".ppm.gz"})
            expected.push_back(base + ext);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listDir(dir + "/Results"), expected);
    EXPECT_TRUE(std::any_of(expected.begin(), expected.end(),
                            [](const std::string& n) { return n.rfind("unnamed_", 0) == 0; }));
    EXPECT_TRUE(std::any_of(expected.begin(), expected.end(), [](const std::string& n) {
        return n.find(".1.bands") != std::string::npos;
    }));

    std::string gel = readFile(dir + "/map1.17.gel");
    size_t named = expected.size() / 4;
    size_t blocks = gel.size() - (gel.find("@@@\n\n") + 5);
    EXPECT_EQ(blocks, named * 4600);
    std::vector<std::string> bands = lines(readFile(dir + "/17.bands"));
    std::vector<std::string> sizes = lines(readFile(dir + "/17.sizes"));
    EXPECT_EQ(std::count(bands.begin(), bands.end(), "-1"), (long)named);
    EXPECT_EQ(std::count(sizes.begin(), sizes.end(), "-1"), (long)named);
    EXPECT_GT(bands.size(), named * 10);
    EXPECT_EQ(bands.size(), sizes.size());
}

TEST(ExampleProject, StepRunsOnLinearGelsWithoutSizesAndWithSeveralDyes) {
    TempDir t;
    std::string dir = t / "p";
    generateOk(dir, {"--lanes", "9", "--dyes", "3", "--marker-repeat", "4", "--method", "linear",
                     "--no-sizes", "--row-length", "600", "--rows", "5", "--gel-number", "4"});
    RunResult r = run(zeStep5Path(), {dir, "m"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(fileExists(dir + "/m.4.gel"));
    EXPECT_TRUE(fileExists(dir + "/4.bands"));
    EXPECT_FALSE(fileExists(dir + "/4.sizes"));
    EXPECT_TRUE(isDirectory(dir + "/Results"));
    EXPECT_TRUE(listDir(dir + "/Results").empty());
}

} // namespace
