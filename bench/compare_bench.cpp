// Speed of the all-pairs comparison: 10,000 fingerprints of 25 to 40 bands
// (about 50 million pairs) at the default tolerance and cutoff, on one and
// on two threads. A tenth of the fingerprints are noisy copies of another,
// so that some pairs pass and the output path runs too. With --write FILE
// the fingerprints are also written as a bands file, to time zeCompare
// itself on them.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "zeError.h"
#include "zePairScan.h"
#include "zePairTable.h"
#include "zeSulston.h"
#include "zeVersion.h"
#include "zeWriteCheck.h"

namespace {

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
    for (const Fingerprint& f : prints) {
        text += "         " + f.clone + " " + std::to_string(f.bands.size()) + " " + f.gel + "\n";
        for (int b : f.bands)
            text += std::to_string(b) + "\n";
        text += "-1\n";
    }
    CheckedOutput out = CheckedOutput::file(path, OnWriteFailure::EndProcess);
    out.write(text);
    out.finish();
}

const char* USAGE =
    "USAGE:  ze_compare_bench [--write FILE]\n"
    "Times the all-pairs comparison of 10,000 fingerprints on two threads, then on one.\n"
    "  --write FILE  also write the fingerprints as a bands file, to time zeCompare on\n"
    "  -h, --help    this text\n"
    "  --version     the version\n";

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

} // namespace

int main(int argc, char** argv) {
    std::string bandsPath;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            fputs(USAGE, stdout);
            return 0;
        }
        if (arg == "--version") {
            fputs(versionLine("ze_compare_bench").c_str(), stdout);
            return 0;
        }
        if (arg == "--write" && i + 1 < argc && argv[i + 1][0] != '\0') {
            bandsPath = argv[++i];
            continue;
        }
        printError((arg == "--write" ? "--write needs a file name" : "unknown argument '" + arg + "'") +
                   std::string(" (ze_compare_bench -h for help)"));
        return 1;
    }
    std::vector<Fingerprint> prints = makeFingerprints(10000, 15);
    if (!bandsPath.empty()) writeBandsFile(bandsPath, prints);
    timeScan(prints, 2);
    timeScan(prints, 1);
    return 0;
}
