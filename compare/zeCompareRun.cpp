#include "zeCompareRun.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "zeBandsFile.h"
#include "zeInputChecks.h"
#include "zeComparePage.h"
#include "zeCores.h"
#include "zeError.h"
#include "zePairTable.h"
#include "zeReplacedFile.h"
#include "zeSulston.h"
#include "zeVersion.h"
#include "zeWriteCheck.h"

namespace {

std::string usageText() {
    char defaults[512];
    snprintf(defaults, sizeof defaults,
             "  -t TOL       tolerance of a band match, standard units 1-%d (default %d)\n"
             "  -c CUTOFF    largest score written, 0 or more (default %g; -c 1: every pair)\n"
             "  -j N         threads, 1 to %d (default: every core it may use, %d here); the\n"
             "               output does not depend on it\n",
             MAX_TOLERANCE, DEFAULT_TOLERANCE, DEFAULT_CUTOFF, MAX_THREADS, everyCore());
    return std::string("USAGE:  zeCompare [-t TOL] [-c CUTOFF] [-j N] [--part K/N] [--html FILE]\n"
                       "                  BANDSFILE...\n"
                       "Compares every pair of fingerprints in the bands files and writes a table\n"
                       "of the pairs whose score is at most CUTOFF on standard output.\n") +
           defaults +
           "  --part K/N   score only the K-th of N parts of the pairs (1 <= K <= N), of\n"
           "               near-equal work; the rows of parts 1..N, concatenated in order\n"
           "               without their header rows, are the rows of the whole run.\n"
           "               Not with --html, whose page needs every pair\n"
           "  --html FILE  also write a page with the strongest pairs, a similarity tree\n"
           "               and a heatmap\n"
           "  -h, --help   this text\n"
           "  --version    the version\n";
}

struct Options {
    int tolerance = DEFAULT_TOLERANCE;
    double cutoff = DEFAULT_CUTOFF;
    int threads = everyCore();
    int part = 1, parts = 1;
    bool partGiven = false;
    std::string html;
    std::vector<std::string> files;
    bool help = false;
    bool version = false;
};

bool usageError(const std::string& what) {
    printError(what + " (zeCompare -h for help)");
    return false;
}

bool parseTolerance(const std::string& text, int& tolerance) {
    char* end = nullptr;
    errno = 0;
    long v = text.empty() ? -1 : strtol(text.c_str(), &end, 10);
    // At 0 the chance of a coincidence would be 0, and any shared band
    // would make a pair certain.
    if (text.empty() || *end != '\0' || errno == ERANGE || v < 1 || v > MAX_TOLERANCE)
        return usageError("-t needs a whole number from 1 to " + std::to_string(MAX_TOLERANCE) + ", not '" + text + "'");
    tolerance = (int)v;
    return true;
}

bool parseCutoff(const std::string& text, double& cutoff) {
    char* end = nullptr;
    double v = text.empty() ? -1 : strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(v) || v < 0)
        return usageError("-c needs a number of 0 or more, not '" + text + "'");
    cutoff = v;
    return true;
}

// A whole number of digits only (no sign, no blanks), at most 9 of them.
bool parseDigits(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    value = std::stoi(text);
    return true;
}

bool parseThreads(const std::string& text, int& threads) {
    int v = 0;
    if (!parseDigits(text, v) || v < 1 || v > MAX_THREADS)
        return usageError("-j needs a whole number from 1 to " + std::to_string(MAX_THREADS) + ", not '" + text + "'");
    threads = v;
    return true;
}

bool parsePart(const std::string& text, int& part, int& parts) {
    size_t slash = text.find('/');
    int k = 0, n = 0;
    if (slash == std::string::npos || !parseDigits(text.substr(0, slash), k) ||
        !parseDigits(text.substr(slash + 1), n) || k < 1 || k > n)
        return usageError("--part needs K/N, whole numbers with 1 <= K <= N, not '" + text + "'");
    part = k;
    parts = n;
    return true;
}

bool parseOptions(int argc, char** argv, Options& o) {
    bool optionsEnd = false;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
            o.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnd = true;
        } else if (arg == "-h" || arg == "--help") {
            o.help = true;
        } else if (arg == "--version") {
            o.version = true;
        } else if (arg == "-t" || arg == "-c" || arg == "-j" || arg == "--part" || arg == "--html") {
            if (i + 1 >= argc) return usageError(arg + " needs a value");
            std::string value = argv[++i];
            if (arg == "-t" && !parseTolerance(value, o.tolerance)) return false;
            if (arg == "-c" && !parseCutoff(value, o.cutoff)) return false;
            if (arg == "-j" && !parseThreads(value, o.threads)) return false;
            if (arg == "--part") {
                if (!parsePart(value, o.part, o.parts)) return false;
                o.partGiven = true;
            }
            if (arg == "--html") {
                if (value.empty()) return usageError("--html needs a file name");
                o.html = value;
            }
        } else {
            return usageError("unknown option '" + arg + "'");
        }
    }
    if (o.help || o.version) return true;
    // The page's tree, heatmap and strongest pairs need every pair.
    if (o.partGiven && !o.html.empty())
        return usageError("--html cannot be used with --part: a part scores only some of the pairs");
    if (o.files.empty()) return usageError("no bands file given");
    return true;
}

int fail(const std::string& line) {
    printErrorLine(line);
    return 1;
}

} // namespace

int runCompare(int argc, char** argv) {
    Options o;
    if (!parseOptions(argc, argv, o)) return 1;
    if (o.help || o.version) {
        CheckedOutput out = CheckedOutput::standardOutput("standard output", OnWriteFailure::ReturnFalse);
        out.write(o.help ? usageText() : versionLine("zeCompare"));
        return out.finish() ? 0 : 1;
    }

    std::string clash;
    if (!inputsAreDistinct(o.files, o.html, clash)) {
        printError(clash);
        return 1;
    }
    std::vector<Fingerprint> prints;
    GelNumberFiles gelNumbers;
    for (const std::string& path : o.files) {
        std::string error;
        size_t from = prints.size();
        if (!readBandsFile(path, prints, error)) return fail(error);
        gelNumbers.add(path, prints, from, std::cerr);
    }

    ScanSettings settings;
    settings.tolerance = o.tolerance;
    settings.cutoff = o.cutoff;
    settings.threads = o.threads;
    settings.part = o.part;
    settings.parts = o.parts;

    CheckedOutput table = CheckedOutput::standardOutput("standard output", OnWriteFailure::ReturnFalse);
    StrongestPairs strongest(STRONGEST_PAIRS);
    long long passing = 0;
    table.write(pairTableHeader());
    std::string rows;
    bool complete = scanPairs(prints, settings, [&](const std::vector<PairScore>& batch) {
        rows.clear();
        for (const PairScore& p : batch) {
            appendPairRow(rows, prints, p);
            strongest.add(p);
        }
        passing += (long long)batch.size();
        return table.write(rows);
    });
    // A stopped scan has reported its failed write already.
    if (!table.finish() || !complete) return 1;

    if (o.html.empty()) return 0;
    ComparePageInput page;
    page.files = o.files;
    page.prints = &prints;
    page.tolerance = o.tolerance;
    page.cutoff = o.cutoff;
    page.pairsPassing = passing;
    page.strongest = strongest.sorted();
    // Renamed over the old page only when complete: a failed or
    // interrupted run leaves the previous page.
    ReplacedFile html;
    std::string error;
    if (!html.open(o.html, error) || !html.commit(comparePage(page), error)) {
        printError(error);
        return 1;
    }
    return 0;
}
