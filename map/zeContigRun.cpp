#include "zeContigRun.h"

#include <cstdio>
#include <string>
#include <vector>

#include "zeContigInput.h"
#include "zeContigPage.h"
#include "zeContigTable.h"
#include "zeCores.h"
#include "zeError.h"
#include "zeInputChecks.h"
#include "zeMapBuild.h"
#include "zeOptions.h"
#include "zeReplacedFile.h"
#include "zeVersion.h"
#include "zeWriteCheck.h"

namespace {

const char* PROGRAM = "zeContig";

struct Options {
    MapSettings map;
    std::string output; // empty: standard output
    std::string html;   // empty: no page
    std::vector<std::string> files;
    bool help = false, version = false;
};

std::string usageText() {
    MapSettings d;
    char text[2048];
    snprintf(text, sizeof text,
             "USAGE:  zeContig [-t TOL] [-c CUTOFF] [-j N] [-o FILE] [--html PAGE]\n"
             "                 BANDSFILE...\n"
             "Builds a physical map from the fingerprints of the bands files: contigs of\n"
             "overlapping clones, each clone's place in its contig in consensus-band units,\n"
             "and its status (ok, buried, Q: fits its contig badly, chimeric). Writes one\n"
             "tab-separated row per fingerprint (see man zeContig).\n"
             "  -t TOL       tolerance of a band match, standard units 1-%d (default %d)\n"
             "  -c CUTOFF    build cutoff: pairs scoring at most this overlap (above 0,\n"
             "               default %g)\n"
             "  -j N         threads of the pair scan, 1 to %d (default: every core it may\n"
             "               use, %d here); the table does not depend on it\n"
             "  -o FILE      write the table to FILE (replaced only when complete) instead\n"
             "               of standard output\n"
             "  --html PAGE  also write a page (replaced only when complete): the map's\n"
             "               overview and settings, and drawings of the %d largest contigs\n"
             "  -h, --help   this text\n"
             "  --version    the version\n",
             MAX_TOLERANCE, d.tolerance, d.cutoff, MAX_THREADS, everyCore(), CONTIGS_DRAWN);
    return text;
}

bool parseOptions(int argc, char** argv, Options& o, std::string& error) {
    const std::vector<OptionSpec> specs = {
        {'t', "", true},   {'c', "", true},        {'j', "", true},         {'o', "", true},
        {0, "html", true}, {'h', "help", false}, {0, "version", false}};
    CommandLine line;
    if (!readCommandLine(argc, argv, PROGRAM, specs, line, error)) return false;
    o.map.threads = everyCore();
    for (const GivenOption& given : line.options) {
        long whole = 0;
        if (specs[given.spec].longName == "html") {
            if (given.value.empty()) {
                error = usageProblem(PROGRAM, "--html needs a file name");
                return false;
            }
            o.html = given.value;
            continue;
        }
        switch (specs[given.spec].shortName) {
        case 't':
            if (!wholeOption(PROGRAM, given, 1, MAX_TOLERANCE, whole, error)) return false;
            o.map.tolerance = (int)whole;
            break;
        case 'c':
            if (!realOption(PROGRAM, given, 0, true, o.map.cutoff, error)) return false;
            break;
        case 'j':
            if (!wholeOption(PROGRAM, given, 1, MAX_THREADS, whole, error)) return false;
            o.map.threads = (int)whole;
            break;
        case 'o':
            if (given.value.empty()) {
                error = usageProblem(PROGRAM, "-o needs a file name");
                return false;
            }
            o.output = given.value;
            break;
        case 'h': o.help = true; break;
        default: o.version = true; break;
        }
    }
    o.files = line.operands;
    if (!o.help && !o.version && o.files.empty()) {
        error = usageProblem(PROGRAM, "no bands file given");
        return false;
    }
    return true;
}

int fail(const std::string& what) {
    printError(what);
    return 1;
}

} // namespace

int runContig(int argc, char** argv) {
    Options o;
    std::string error;
    if (!parseOptions(argc, argv, o, error)) return fail(error);
    if (o.help || o.version) {
        CheckedOutput out = CheckedOutput::standardOutput("standard output", OnWriteFailure::ReturnFalse);
        out.write(o.help ? usageText() : versionLine(PROGRAM));
        return out.finish() ? 0 : 1;
    }
    if (!inputsAreDistinct(o.files, std::vector<NamedOutput>{{"table", o.output}, {"page", o.html}},
                           error))
        return fail(error);

    // The outputs' places are tried before the inputs are read and scored.
    ReplacedFile table, page;
    if (!o.output.empty() && !table.open(o.output, error)) return fail(error);
    if (!o.html.empty() && !page.open(o.html, error)) return fail(error);

    std::vector<Fingerprint> prints;
    if (!readContigInput(o.files, prints, error)) {
        printErrorLine(error);
        return 1;
    }
    ContigMap map = buildMap(prints, o.map);
    std::string bytes = contigTableHeader() + contigTableRows(prints, map);
    std::string html;
    if (!o.html.empty()) {
        ContigPageInput in;
        in.files = o.files;
        in.prints = &prints;
        in.map = &map;
        in.settings = o.map;
        in.table = o.output;
        html = contigPage(in);
    }
    // The table first: a page that cannot be written then leaves a
    // complete table and status 1.
    if (o.output.empty()) {
        CheckedOutput out = CheckedOutput::standardOutput("standard output", OnWriteFailure::ReturnFalse);
        out.write(bytes);
        if (!out.finish()) return 1;
    } else if (!table.commit(bytes, error)) {
        return fail(error);
    }
    if (!o.html.empty() && !page.commit(html, error)) return fail(error);
    return 0;
}
