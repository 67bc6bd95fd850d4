// Speed of the all-pairs comparison: 10,000 fingerprints of 25 to 40 bands
// (about 50 million pairs) at the default tolerance and cutoff, on one and
// on two threads. A tenth of the fingerprints are noisy copies of another,
// so that some pairs pass and the output path runs too. With --write FILE
// the fingerprints are also written as a bands file, to time zeCompare
// itself on them. With --check DIR, the scan instead is compared with the
// plain scan (every pair walked and scored) on the bands files of a
// simulated library (tools/zeGenLibrary) at two tolerances and three
// cutoffs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "zeBandsFile.h"
#include "zeError.h"
#include "zeOptions.h"
#include "zePairScan.h"
#include "zePlainScan.h"
#include "zePairTable.h"
#include "zeSharedBands.h"
#include "zeSulston.h"
#include "zeVersion.h"
#include "zeWriteCheck.h"

namespace {

const char* PROGRAM = "ze_compare_bench";
// The timed fingerprints, and the tolerances and cutoffs of --check.
const int TIMED_PRINTS = 10000;
const int CHECK_TOLERANCES[2] = {3, DEFAULT_TOLERANCE};
const double CHECK_CUTOFFS[3] = {1e-12, 1e-6, 1e-3};

std::vector<Fingerprint> makeFingerprints(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> count(25, 40), position(0, NORM_SCALE_LENGTH - 1),
        noise(-3, 3);
    std::vector<Fingerprint> prints(n);
    for (int k = 0; k < n; k++) {
        Fingerprint& f = prints[k];
        f.clone = "clone" + std::to_string(k);
        f.gel = std::to_string(1 + k / 100);
        if (k > 0 && k % 10 == 0) {
            for (int b : prints[rng() % k].bands)
                f.bands.push_back(std::min(NORM_SCALE_LENGTH - 1, std::max(0, b + noise(rng))));
        } else {
            int c = count(rng);
            for (int i = 0; i < c; i++)
                f.bands.push_back(position(rng));
        }
        std::sort(f.bands.begin(), f.bands.end());
    }
    return prints;
}

void writeBandsFile(const std::string& path, const std::vector<Fingerprint>& prints) {
    std::string text;
    for (const Fingerprint& f : prints)
        appendBandsBlock(text, f);
    CheckedOutput out = CheckedOutput::file(path, OnWriteFailure::EndProcess);
    out.write(text);
    out.finish();
}

void timeScan(const std::vector<Fingerprint>& prints, int threads) {
    ScanSettings s;
    s.threads = threads;
    long long passing = 0;
    size_t bytes = 0;
    std::string rows;
    auto start = std::chrono::steady_clock::now();
    scanPairs(prints, s, [&](const std::vector<PairScore>& batch) {
        rows.clear();
        for (const PairScore& p : batch)
            appendPairRow(rows, prints, p);
        passing += (long long)batch.size();
        bytes += rows.size();
        return true;
    });
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    long long n = (long long)prints.size();
    printf("%lld fingerprints, %lld pairs, %d thread%s: %.2f s (%lld pairs within %g, %zu bytes "
           "of table)\n",
           n, n * (n - 1) / 2, threads, threads == 1 ? "" : "s", seconds, passing, s.cutoff,
           bytes);
}

bool samePair(const PairScore& a, const PairScore& b) {
    return a.first == b.first && a.second == b.second && a.shared == b.shared &&
           a.score == b.score && a.dice == b.dice;
}

// Returns the exit status: 0 when the scan equals the plain scan everywhere.
int checkLibrary(const std::string& dir) {
    std::vector<Fingerprint> prints;
    for (int gel = 1;; gel++) {
        std::string path = dir + "/" + std::to_string(gel) + ".bands";
        if (!std::ifstream(path.c_str())) break;
        std::string error;
        if (!readBandsFile(path, prints, error)) {
            printError(error);
            return 1;
        }
    }
    int threads = (int)std::max(1u, std::thread::hardware_concurrency());
    const std::vector<double> cutoffs(CHECK_CUTOFFS, CHECK_CUTOFFS + 3);
    bool equal = true;
    printf("%zu fingerprints from %s, %d threads\n", prints.size(), dir.c_str(), threads);
    for (int tolerance : CHECK_TOLERANCES) {
        auto start = std::chrono::steady_clock::now();
        std::vector<std::vector<std::vector<PairScore>>> byRow(
            cutoffs.size(), std::vector<std::vector<PairScore>>(prints.size()));
        std::vector<std::thread> pool;
        for (int t = 0; t < threads; t++)
            pool.emplace_back(plainScanRows, std::cref(prints), tolerance, std::cref(cutoffs), t,
                              threads, std::ref(byRow));
        for (std::thread& t : pool)
            t.join();
        double plainSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        for (size_t c = 0; c < cutoffs.size(); c++) {
            std::vector<PairScore> want;
            for (const std::vector<PairScore>& row : byRow[c])
                want.insert(want.end(), row.begin(), row.end());
            ScanSettings s;
            s.tolerance = tolerance;
            s.cutoff = cutoffs[c];
            s.threads = threads;
            std::vector<PairScore> got;
            start = std::chrono::steady_clock::now();
            scanPairs(prints, s, [&](const std::vector<PairScore>& batch) {
                got.insert(got.end(), batch.begin(), batch.end());
                return true;
            });
            double fastSeconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            bool same = got.size() == want.size() &&
                        std::equal(got.begin(), got.end(), want.begin(), samePair);
            equal = equal && same;
            printf("tolerance %d, cutoff %g: %zu pairs plain (%.1f s for all cutoffs), %zu pairs "
                   "scanned (%.2f s): %s\n",
                   tolerance, cutoffs[c], want.size(), plainSeconds, got.size(), fastSeconds,
                   same ? "equal" : "DIFFERENT");
        }
    }
    return equal ? 0 : 1;
}

std::string usageText() {
    return helpText(
        "USAGE:  ze_compare_bench [--write FILE]\n"
        "        ze_compare_bench --check LIBRARYDIR\n"
        "Times the pair scan on %d random fingerprints on two threads and on one;\n"
        "--write FILE also writes them as a bands file. --check compares the scan\n"
        "with the plain scan of every pair on the bands files 1.bands, 2.bands, ...\n"
        "of LIBRARYDIR (tools/zeGenLibrary) at tolerances %d and %d and cutoffs\n"
        "%g, %g and %g; exit status 1 when they differ.\n"
        "  -h, --help    this text\n"
        "  --version     the version\n",
        TIMED_PRINTS, CHECK_TOLERANCES[0], CHECK_TOLERANCES[1], CHECK_CUTOFFS[0], CHECK_CUTOFFS[1],
        CHECK_CUTOFFS[2]);
}

int usageError(const std::string& what) {
    printError(usageProblem(PROGRAM, what));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<OptionRule> rules = {{0, "write", true}, {0, "check", true}, HELP_OPTION,
                                           VERSION_OPTION};
    CommandLine line;
    std::string error;
    if (!readCommandLine(argc, argv, PROGRAM, rules, line, error)) {
        printError(error);
        return 1;
    }
    std::string bandsPath, libraryDir;
    bool help = false, version = false;
    for (const GivenOption& given : line.options) {
        const std::string& name = rules[given.rule].longName;
        if ((name == "write" || name == "check") && given.value.empty())
            return usageError(given.name + (name == "write" ? " needs a file name" : " needs a directory"));
        if (name == "write") bandsPath = given.value;
        if (name == "check") libraryDir = given.value;
        help = help || name == "help";
        version = version || name == "version";
    }
    if (help) return printHelpOrVersion(usageText());
    if (version) return printHelpOrVersion(versionLine(PROGRAM));
    if (!line.operands.empty()) return usageError("unexpected argument '" + line.operands[0] + "'");
    if (!libraryDir.empty() && !bandsPath.empty())
        return usageError("--check and --write cannot be used together");
    if (!libraryDir.empty()) return checkLibrary(libraryDir);
    std::vector<Fingerprint> prints = makeFingerprints(TIMED_PRINTS, 15);
    if (!bandsPath.empty()) writeBandsFile(bandsPath, prints);
    timeScan(prints, 2);
    timeScan(prints, 1);
    return 0;
}
