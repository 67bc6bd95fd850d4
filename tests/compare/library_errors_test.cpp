// zeGenLibrary's library errors: --perfect writes the error-free model's
// bytes, error flags override it, each error draws from its own stream, and
// the truth of chimeric clones, fragments and repeat copies agrees with the
// positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "compareTestSupport.h"

using namespace zetest;

namespace {

RunResult generate(const std::string& dir, const std::vector<std::string>& knobs) {
    std::vector<std::string> args = {"--out", dir};
    args.insert(args.end(), knobs.begin(), knobs.end());
    return run(ZE_GENLIBRARY_BIN, args);
}

// Clone name -> its bands, from every bands file in dir.
std::map<std::string, std::vector<int>> readBands(const std::string& dir) {
    std::map<std::string, std::vector<int>> clones;
    for (const std::string& name : listDir(dir)) {
        if (name.size() < 6 || name.compare(name.size() - 6, 6, ".bands") != 0) continue;
        std::istringstream in(readFile(dir + "/" + name));
        std::string clone;
        long count = 0, gel = 0, band = 0;
        while (in >> clone >> count >> gel) {
            std::vector<int>& bands = clones[clone];
            while (in >> band && band != -1)
                bands.push_back((int)band);
            EXPECT_EQ((long)bands.size(), count) << clone;
        }
    }
    return clones;
}

bool isSubset(const std::vector<int>& small, const std::vector<int>& large) {
    return std::includes(large.begin(), large.end(), small.begin(), small.end());
}

// The truth's rows as maps from column name to value.
std::vector<std::map<std::string, std::string>> readTruth(const std::string& path) {
    auto rows = tableRows(readFile(path));
    std::vector<std::map<std::string, std::string>> out;
    for (size_t k = 1; k < rows.size(); k++) {
        EXPECT_EQ(rows[k].size(), rows[0].size());
        std::map<std::string, std::string> row;
        for (size_t c = 0; c < rows[0].size() && c < rows[k].size(); c++)
            row[rows[0][c]] = rows[k][c];
        out.push_back(row);
    }
    return out;
}

const std::vector<std::string> ALL_ERRORS_OFF = {"--extra-bands",  "0",    "--missing-bands", "0",
                                                 "--vector-bands", "none", "--end-fragments", "off",
                                                 "--chimeric",     "0",    "--repeats",       "0"};

} // namespace

TEST(LibraryErrors, PerfectWritesTheErrorFreeModelsBytes) {
    TempDir t;
    // The bands and the first four columns pinned from the generator before
    // it simulated errors; the fragments checked by hand against the cuts.
    ASSERT_EQ(
        generate(t / "p", {"--perfect", "--clones", "3", "--per-gel", "2", "--clone-mean", "20000",
                           "--clone-sd", "2000", "--genome-length", "200000", "--seed", "11"})
            .status,
        0);
    EXPECT_EQ(readFile(t / "p/1.bands"),
              "         L000001 2 1\n2091\n4506\n-1\n         L000002 1 1\n1875\n-1\n");
    EXPECT_EQ(readFile(t / "p/2.bands"), "         L000003 4 2\n1448\n2688\n3013\n3769\n-1\n");
    EXPECT_EQ(readFile(t / "p/truth.tsv"),
              "clone\tgel\tstart\tend\tchimeric\tfirst_fragment\tlast_fragment\tstart2\tend2\t"
              "first_fragment2\tlast_fragment2\n"
              "L000001\t1\t76585\t97150\t0\t9\t10\t-\t-\t-\t-\n"
              "L000002\t1\t20018\t38098\t0\t4\t4\t-\t-\t-\t-\n"
              "L000003\t2\t130867\t149886\t0\t17\t20\t-\t-\t-\t-\n");

    // Every error flag off is --perfect; the defaults are not.
    std::vector<std::string> base = {"--clones", "400", "--seed", "3"};
    ASSERT_EQ(generate(t / "perfect", {"--clones", "400", "--seed", "3", "--perfect"}).status, 0);
    std::vector<std::string> off = base;
    off.insert(off.end(), ALL_ERRORS_OFF.begin(), ALL_ERRORS_OFF.end());
    ASSERT_EQ(generate(t / "off", off).status, 0);
    ASSERT_EQ(generate(t / "defaults", base).status, 0);
    EXPECT_EQ(snapshotFiles(t / "perfect"), snapshotFiles(t / "off"));
    EXPECT_NE(readFile(t / "perfect/1.bands"), readFile(t / "defaults/1.bands"));
}

TEST(LibraryErrors, ErrorFlagsOverridePerfectAndLeaveTheOtherBandsAsTheyWere) {
    TempDir t;
    std::vector<std::string> base = {"--clones", "300", "--seed", "8"};
    auto with = [&](std::vector<std::string> knobs) {
        knobs.insert(knobs.begin(), base.begin(), base.end());
        return knobs;
    };
    ASSERT_EQ(generate(t / "perfect", with({"--perfect"})).status, 0);
    ASSERT_EQ(generate(t / "lossA", with({"--perfect", "--missing-bands", "0.3"})).status, 0);
    ASSERT_EQ(generate(t / "lossB", with({"--missing-bands", "0.3", "--perfect"})).status, 0);
    ASSERT_EQ(generate(t / "more", with({"--end-fragments", "on", "--perfect", "--extra-bands",
                                         "0.5", "--vector-bands", "100:1,3000:0.5"}))
                  .status,
              0);
    EXPECT_EQ(snapshotFiles(t / "lossA"), snapshotFiles(t / "lossB"));

    auto perfect = readBands(t / "perfect"), loss = readBands(t / "lossA"),
         more = readBands(t / "more");
    ASSERT_EQ(perfect.size(), 300u);
    size_t perfectBands = 0, lost = 0, added = 0, vectorSeen = 0;
    for (const auto& [clone, bands] : perfect) {
        // Lost bands only: the others keep their noise.
        EXPECT_TRUE(isSubset(loss[clone], bands)) << clone;
        // Added bands only, the vector band at 100 (noise 1.5) in every clone.
        EXPECT_TRUE(isSubset(bands, more[clone])) << clone;
        vectorSeen += std::any_of(more[clone].begin(), more[clone].end(),
                                  [](int b) { return b >= 92 && b <= 108; });
        perfectBands += bands.size();
        lost += bands.size() - loss[clone].size();
        added += more[clone].size() - bands.size();
    }
    EXPECT_GT(lost, perfectBands / 5);
    EXPECT_LT(lost, perfectBands * 2 / 5);
    EXPECT_GT(added, perfectBands / 2); // extra half as many, ends, vector
    EXPECT_EQ(vectorSeen, 300u);
    // Not chimeric: the truth's positions are the perfect run's.
    EXPECT_EQ(readFile(t / "perfect/truth.tsv"), readFile(t / "more/truth.tsv"));
}

TEST(LibraryErrors, SameSeedGivesTheSameFilesWithEveryErrorOn) {
    TempDir t;
    for (const char* dir : {"a", "b"})
        ASSERT_EQ(generate(t / dir, {"--clones", "500", "--seed", "6", "--repeats", "0.2"}).status,
                  0);
    EXPECT_EQ(snapshotFiles(t / "a"), snapshotFiles(t / "b"));
    auto files = listDir(t / "a");
    EXPECT_EQ(std::count(files.begin(), files.end(), "repeats.tsv"), 1);
}

TEST(LibraryErrors, ChimericShareAndPiecesAFarApart) {
    TempDir t;
    const long long genome = 45000000;
    ASSERT_EQ(generate(t.path(), {"--clones", "3000", "--seed", "4", "--chimeric", "0.1",
                                  "--per-gel", "1000", "--genome-length", std::to_string(genome)})
                  .status,
              0);
    auto truth = readTruth(t / "truth.tsv");
    ASSERT_EQ(truth.size(), 3000u);
    int chimeric = 0;
    for (auto& row : truth) {
        long long start = std::stoll(row["start"]), end = std::stoll(row["end"]);
        EXPECT_TRUE(0 <= start && start < end && end <= genome);
        if (row["chimeric"] == "0") {
            for (const char* column : {"start2", "end2", "first_fragment2", "last_fragment2"})
                EXPECT_EQ(row[column], "-") << row["clone"];
            continue;
        }
        ASSERT_EQ(row["chimeric"], "1");
        chimeric++;
        long long start2 = std::stoll(row["start2"]), end2 = std::stoll(row["end2"]);
        EXPECT_TRUE(0 <= start2 && start2 < end2 && end2 <= genome);
        EXPECT_TRUE(end2 + 1000000 <= start || start2 >= end + 1000000)
            << row["clone"] << " pieces " << start << "-" << end << " and " << start2 << "-"
            << end2;
        double firstShare = double(end - start) / double(end - start + end2 - start2);
        EXPECT_GE(firstShare, 0.3 - 1e-4) << row["clone"];
        EXPECT_LE(firstShare, 0.7 + 1e-4) << row["clone"];
    }
    EXPECT_GT(chimeric, 240); // 300 expected, standard deviation 16
    EXPECT_LT(chimeric, 360);
}

// Fragment k runs from cut k to cut k + 1: every piece bounds those cuts,
// and all pieces' bounds must leave room for one cut list.
TEST(LibraryErrors, FragmentIndicesAgreeWithThePositions) {
    TempDir t;
    ASSERT_EQ(
        generate(t / "e", {"--clones", "2000", "--seed", "9", "--chimeric", "0.2", "--repeats",
                           "0.3", "--clone-mean", "30000", "--clone-sd", "15000"})
            .status,
        0);
    std::map<long long, long long> lowest, highest; // cut index -> bounds of its position
    auto bound = [&](long long cut, long long lo, long long hi) {
        if (cut < 0) return;
        lowest[cut] = std::max(lowest.count(cut) ? lowest[cut] : lo, lo);
        highest[cut] = std::min(highest.count(cut) ? highest[cut] : hi, hi);
    };
    const long long far = 1LL << 60;
    int pieces = 0, empty = 0;
    for (auto& row : readTruth(t / "e/truth.tsv")) {
        for (const char* suffix : {"", "2"}) {
            std::string s = suffix;
            if (row["start" + s] == "-") continue;
            long long start = std::stoll(row["start" + s]), end = std::stoll(row["end" + s]);
            std::string first = row["first_fragment" + s], last = row["last_fragment" + s];
            pieces++;
            EXPECT_EQ(first == "-", last == "-") << row["clone"];
            if (first == "-") {
                empty++;
                continue;
            }
            long long f = std::stoll(first), l = std::stoll(last);
            EXPECT_LE(f, l) << row["clone"];
            bound(f - 1, -far, start - 1); // the cut before the first lies before the start
            bound(f, start, far);
            bound(l + 1, -far, end);
            bound(l + 2, end + 1, far); // the cut after the last lies past the end
        }
    }
    EXPECT_GT(pieces, 2100);
    EXPECT_GT(empty, 0); // some clones are shorter than any fragment pair
    long long previousLowest = -far;
    for (auto& [cut, lo] : lowest) {
        EXPECT_LE(lo, highest[cut]) << "cut " << cut;
        EXPECT_LE(previousLowest, highest[cut]) << "cut " << cut; // cuts ascend
        previousLowest = std::max(previousLowest, lo);
    }
}

TEST(LibraryErrors, RepeatCopiesGiveDistantClonesSharedBands) {
    TempDir t;
    ASSERT_EQ(
        generate(t.path(),
                 {"--perfect", "--repeats",       "0.5",    "--noise",      "0",     "--clones",
                  "3000",      "--seed",          "2",      "--clone-mean", "10000", "--clone-sd",
                  "0",         "--fragment-mean", "1000",   "--min-size",   "100",   "--max-size",
                  "5000",      "--genome-length", "6000000"})
            .status,
        0);
    struct Copy {
        int block;
        long long start, end;
    };
    std::vector<Copy> copies;
    std::map<int, long long> blockLength;
    std::map<int, int> blockCopies;
    long long covered = 0, previousEnd = 0;
    auto rows = tableRows(readFile(t / "repeats.tsv"));
    ASSERT_EQ(rows[0], (std::vector<std::string>{"block", "start", "end"}));
    for (size_t k = 1; k < rows.size(); k++) {
        Copy c{std::stoi(rows[k][0]), std::stoll(rows[k][1]), std::stoll(rows[k][2])};
        EXPECT_GE(c.block, 1);
        EXPECT_GE(c.start, previousEnd); // ascending, no overlap
        long long length = c.end - c.start;
        EXPECT_TRUE(length >= 20000 && length <= 80000);
        EXPECT_EQ(blockLength.emplace(c.block, length).first->second, length);
        blockCopies[c.block]++;
        previousEnd = c.end;
        covered += length;
        copies.push_back(c);
    }
    EXPECT_GE(covered, 3000000);
    EXPECT_LT(covered, 3000000 + 6 * 80000); // the last family's copies at most
    // Families numbered from 1 without gaps, each with 2-6 copies.
    EXPECT_EQ(blockCopies.rbegin()->first, (int)blockCopies.size());
    for (auto& [block, copies] : blockCopies)
        EXPECT_TRUE(copies >= 2 && copies <= 6) << "family " << block << ": " << copies;

    // Clones wholly inside copies, at offsets within 2 kb of each other in
    // them: in copies of one block they share the block's fragments and so,
    // without noise, nearly all their bands; in copies of two blocks few.
    auto bands = readBands(t.path());
    struct Inside {
        std::string clone;
        size_t copy;
        long long offset;
    };
    std::vector<Inside> inside;
    for (auto& row : readTruth(t / "truth.tsv")) {
        long long start = std::stoll(row["start"]), end = std::stoll(row["end"]);
        for (size_t i = 0; i < copies.size(); i++)
            if (copies[i].start <= start && end <= copies[i].end)
                inside.push_back({row["clone"], i, start - copies[i].start});
    }
    struct Tally {
        size_t pairs = 0, shared = 0, fewer = 0, none = 0;
    } sameBlock, otherBlocks;
    for (size_t a = 0; a < inside.size(); a++)
        for (size_t b = a + 1; b < inside.size(); b++) {
            if (inside[a].copy == inside[b].copy) continue;
            if (std::llabs(inside[a].offset - inside[b].offset) > 2000) continue;
            const auto& x = bands[inside[a].clone];
            const auto& y = bands[inside[b].clone];
            std::vector<int> both;
            std::set_intersection(x.begin(), x.end(), y.begin(), y.end(), std::back_inserter(both));
            bool same = copies[inside[a].copy].block == copies[inside[b].copy].block;
            Tally& tally = same ? sameBlock : otherBlocks;
            tally.pairs++;
            tally.shared += both.size();
            tally.fewer += std::min(x.size(), y.size());
            tally.none += both.empty();
        }
    EXPECT_GT(sameBlock.pairs, 1000u);
    EXPECT_GT(sameBlock.shared, sameBlock.fewer * 2 / 3);
    EXPECT_LT(sameBlock.none, sameBlock.pairs / 100);
    EXPECT_GT(otherBlocks.pairs, 1000u);
    EXPECT_LT(otherBlocks.shared, otherBlocks.fewer / 10);
}
