#include "zeCompareOptions.h"

#include <climits>

#include "zeOptions.h"
#include "zeTextFile.h"

namespace {

const char* PROGRAM = "zeCompare";

// K/N: whole numbers with 1 <= K <= N.
bool readPart(const std::string& text, int& part, int& parts) {
    size_t slash = text.find('/');
    long k = 0, n = 0;
    if (slash == std::string::npos || !wholeNumber(text.substr(0, slash), 1, INT_MAX, k) ||
        !wholeNumber(text.substr(slash + 1), 1, INT_MAX, n) || k > n)
        return false;
    part = (int)k;
    parts = (int)n;
    return true;
}

} // namespace

std::string compareUsage() {
    return helpText(
        "USAGE:  zeCompare [-t TOL] [-c CUTOFF] [-j N] [--part K/N] [--html FILE]\n"
        "                  BANDSFILE...\n"
        "Compares every pair of fingerprints in the bands files and writes a table\n"
        "of the pairs whose score is at most CUTOFF on standard output.\n"
        "  -t TOL       tolerance of a band match, standard units 1-%d (default %d)\n"
        "  -c CUTOFF    largest score written, 0 or more (default %g; -c 1: every pair)\n"
        "  -j N         threads, 1 to %d (default: every core it may use, %d here); the\n"
        "               output does not depend on it\n"
        "  --part K/N   score only the K-th of N consecutive slices of the pairs, in\n"
        "               table order (1 <= K <= N); the slices' numbers of pairs differ\n"
        "               by at most one. The rows of parts 1..N, concatenated in order\n"
        "               without their header rows, are the rows of the whole run.\n"
        "               Not with --html, whose page needs every pair\n"
        "  --html FILE  also write a page with the strongest pairs, a similarity tree\n"
        "               and a heatmap\n"
        "  -h, --help   this text\n"
        "  --version    the version\n",
        MAX_TOLERANCE, DEFAULT_TOLERANCE, DEFAULT_CUTOFF, MAX_THREADS, everyCore());
}

bool readCompareOptions(int argc, char** argv, CompareOptions& o, std::string& error) {
    const std::vector<OptionRule> rules = {{'t', "", true},   {'c', "", true},
                                           {'j', "", true},   {0, "part", true},
                                           {0, "html", true}, HELP_OPTION,
                                           VERSION_OPTION};
    CommandLine line;
    if (!readCommandLine(argc, argv, PROGRAM, rules, line, error)) return false;
    for (const GivenOption& given : line.options) {
        const OptionRule& rule = rules[given.rule];
        long whole = 0;
        if (rule.shortName == 't') {
            // At 0 the chance of a coincidence would be 0, and any shared
            // band would make a pair certain.
            if (!wholeOption(PROGRAM, given, 1, MAX_TOLERANCE, whole, error)) return false;
            o.tolerance = (int)whole;
        } else if (rule.shortName == 'c') {
            if (!realOption(PROGRAM, given, 0, false, o.cutoff, error)) return false;
        } else if (rule.shortName == 'j') {
            if (!wholeOption(PROGRAM, given, 1, MAX_THREADS, whole, error)) return false;
            o.threads = (int)whole;
        } else if (rule.longName == "part") {
            if (!readPart(given.value, o.part, o.parts)) {
                error = usageProblem(PROGRAM, "--part needs K/N, whole numbers with 1 <= K <= N, not '" +
                                                  shownText(given.value) + "'");
                return false;
            }
            o.partGiven = true;
        } else if (rule.longName == "html") {
            if (given.value.empty()) {
                error = usageProblem(PROGRAM, "--html needs a file name");
                return false;
            }
            o.html = given.value;
        } else if (rule.longName == "help") {
            o.help = true;
        } else {
            o.version = true;
        }
    }
    o.files = line.operands;
    if (o.help || o.version) return true;
    // The page's tree, heatmap and strongest pairs need every pair.
    if (o.partGiven && !o.html.empty()) {
        error = usageProblem(PROGRAM, "--html cannot be used with --part: a part scores only some of the pairs");
        return false;
    }
    if (o.files.empty()) {
        error = usageProblem(PROGRAM, "no bands file given");
        return false;
    }
    return true;
}
