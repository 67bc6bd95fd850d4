#include "zeCompareRun.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "zeBandsFile.h"
#include "zeComparePage.h"
#include "zeError.h"
#include "zePairTable.h"
#include "zeSulston.h"
#include "zeVersion.h"
#include "zeWriteCheck.h"

namespace {

std::string usageText() {
    char defaults[512];
    snprintf(defaults, sizeof defaults,
             "  -t TOL       tolerance of a band match, standard units 1-%d (default %d)\n"
             "  -c CUTOFF    largest score written, 0 or more (default %g; -c 1: every pair)\n",
             MAX_TOLERANCE, DEFAULT_TOLERANCE, DEFAULT_CUTOFF);
    return std::string("USAGE:  zeCompare [-t TOL] [-c CUTOFF] [--html FILE] BANDSFILE...\n"
                       "Compares every pair of fingerprints in the bands files and writes a table\n"
                       "of the pairs whose score is at most CUTOFF on standard output.\n") +
           defaults +
           "  --html FILE  also write a page with the strongest pairs, a similarity tree\n"
           "               and a heatmap\n"
           "  -h, --help   this text\n"
           "  --version    the version\n";
}

struct Options {
    int tolerance = DEFAULT_TOLERANCE;
    double cutoff = DEFAULT_CUTOFF;
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
        } else if (arg == "-t" || arg == "-c" || arg == "--html") {
            if (i + 1 >= argc) return usageError(arg + " needs a value");
            std::string value = argv[++i];
            if (arg == "-t" && !parseTolerance(value, o.tolerance)) return false;
            if (arg == "-c" && !parseCutoff(value, o.cutoff)) return false;
            if (arg == "--html") {
                if (value.empty()) return usageError("--html needs a file name");
                o.html = value;
            }
        } else {
            return usageError("unknown option '" + arg + "'");
        }
    }
    if (!o.help && !o.version && o.files.empty()) return usageError("no bands file given");
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

    std::vector<Fingerprint> prints;
    for (const std::string& path : o.files) {
        std::string error;
        if (!readBandsFile(path, prints, error)) return fail(error);
    }

    ScanSettings settings;
    settings.tolerance = o.tolerance;
    settings.cutoff = o.cutoff;
    settings.threads = (int)std::max(1u, std::min(2u, std::thread::hardware_concurrency()));

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
    CheckedOutput html = CheckedOutput::file(o.html, OnWriteFailure::ReturnFalse);
    html.write(comparePage(page));
    return html.finish() ? 0 : 1;
}
