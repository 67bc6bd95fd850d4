#include "zeContigRun.h"

#include <sys/stat.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "zeContigGff.h"
#include "zeContigInput.h"
#include "zeContigNames.h"
#include "zeContigPage.h"
#include "zeContigTable.h"
#include "zeCores.h"
#include "zeError.h"
#include "zeInputChecks.h"
#include "zeMapBuild.h"
#include "zeOptions.h"
#include "zePreviousTable.h"
#include "zeReplacedFile.h"
#include "zeTilingPath.h"
#include "zeTilingTable.h"
#include "zeVersion.h"
#include "zeWriteCheck.h"

namespace {

const char* PROGRAM = "zeContig";
const int MOST_MTP_SHARED = 100000;

struct Options {
    MapSettings map;
    std::string output; // empty: standard output
    std::string mtp, gff, previous, html; // empty: none
    int mtpShared = DEFAULT_MTP_SHARED;
    std::vector<std::string> files;
    bool help = false, version = false;
};

std::string usageText() {
    MapSettings d;
    char text[4096];
    snprintf(text, sizeof text,
             "USAGE:  zeContig [-t TOL] [-c CUTOFF] [-j N] [-o FILE] [--mtp FILE]\n"
             "                 [--mtp-shared N] [--gff FILE] [--html PAGE]\n"
             "                 [--previous OLD-TABLE] BANDSFILE...\n"
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
             "  --mtp FILE   also write each contig's minimal tiling path to FILE: the\n"
             "               fewest ok clones covering it, each sharing at least N bands\n"
             "               with the next (a step with fewer is marked weak)\n"
             "  --mtp-shared N\n"
             "               the least bands shared by a tiling path's steps, 1 to %d\n"
             "               (default %d)\n"
             "  --gff FILE   also write the map as GFF3 to FILE: a sequence region per\n"
             "               contig, its placed clones and its tiling path\n"
             "  --html PAGE  also write a page: the map's overview and settings, and\n"
             "               drawings of the %d largest contigs\n"
             "  --previous OLD-TABLE\n"
             "               carry the contig numbers of an earlier table over (clones\n"
             "               matched by name and gel number); merges and splits are told\n"
             "               on NOTE lines on standard error\n"
             "  -h, --help   this text\n"
             "  --version    the version\n"
             "Every file output is replaced only when complete.\n",
             MAX_TOLERANCE, d.tolerance, d.cutoff, MAX_THREADS, everyCore(), MOST_MTP_SHARED,
             DEFAULT_MTP_SHARED, CONTIGS_DRAWN);
    return text;
}

bool parseOptions(int argc, char** argv, Options& o, std::string& error) {
    const std::vector<OptionRule> rules = {
        {'t', "", true},     {'c', "", true},          {'j', "", true},
        {'o', "", true},     {'h', "help", false},     {0, "version", false},
        {0, "mtp", true},    {0, "mtp-shared", true},  {0, "gff", true},
        {0, "previous", true}, {0, "html", true}};
    CommandLine line;
    if (!readCommandLine(argc, argv, PROGRAM, rules, line, error)) return false;
    o.map.threads = everyCore();
    for (const GivenOption& given : line.options) {
        long whole = 0;
        switch (rules[given.rule].shortName) {
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
        default: {
            const std::string& name = rules[given.rule].longName;
            if (name == "version") {
                o.version = true;
            } else if (name == "mtp-shared") {
                if (!wholeOption(PROGRAM, given, 1, MOST_MTP_SHARED, whole, error)) return false;
                o.mtpShared = (int)whole;
            } else {
                if (given.value.empty()) {
                    error = usageProblem(PROGRAM, given.name + " needs a file name");
                    return false;
                }
                (name == "mtp" ? o.mtp : name == "gff" ? o.gff : name == "html" ? o.html : o.previous) =
                    given.value;
            }
            break;
        }
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

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// The earlier table may be the table written now (a map rebuilt in
// place: it is read before it is replaced), but no other output.
bool previousIsKept(const Options& o, std::string& error) {
    for (const NamedOutput& out :
         std::vector<NamedOutput>{{"tiling path", o.mtp}, {"GFF file", o.gff}, {"page", o.html}})
        if (!out.path.empty() && (out.path == o.previous || sameFile(out.path, o.previous))) {
            error = "the " + out.kind + " '" + out.path + "' is the previous table '" + o.previous +
                    "': it would be written over";
            return false;
        }
    return true;
}

// An output written to a file given on the command line, or to standard
// output when none was given.
struct Output {
    std::string path;
    ReplacedFile file;
};

bool writeOutput(Output& out, const std::string& bytes, std::string& error) {
    if (!out.path.empty()) return out.file.commit(bytes, error);
    CheckedOutput stream = CheckedOutput::standardOutput("standard output", OnWriteFailure::ReturnFalse);
    stream.write(bytes);
    return stream.finish();
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
    if (!inputsAreDistinct(o.files,
                           {{"table", o.output}, {"tiling path", o.mtp}, {"GFF file", o.gff},
                            {"page", o.html}},
                           error))
        return fail(error);
    if (!o.previous.empty() && !previousIsKept(o, error)) return fail(error);

    // The outputs' places are tried before the inputs are read and scored.
    Output table, mtp, gff, page;
    table.path = o.output;
    mtp.path = o.mtp;
    gff.path = o.gff;
    page.path = o.html;
    for (Output* out : {&table, &mtp, &gff, &page})
        if (!out->path.empty() && !out->file.open(out->path, error)) return fail(error);

    std::vector<PreviousRow> previous;
    if (!o.previous.empty() && !readPreviousTable(o.previous, previous, error)) return fail(error);
    std::vector<Fingerprint> prints;
    if (!readContigInput(o.files, prints, error)) {
        printErrorLine(error);
        return 1;
    }
    ContigMap map = buildMap(prints, o.map);
    if (!o.previous.empty()) {
        ContigNames names = nameContigs(prints, map, previous);
        renumberContigs(map, names.numberOf);
        for (const std::string& note : names.notes)
            std::cerr << note << std::endl;
    }
    std::vector<std::vector<TilingStep>> paths;
    if (!o.mtp.empty() || !o.gff.empty() || !o.html.empty())
        paths = tilingPaths(prints, map, o.mtpShared, o.map.tolerance);

    // Standard output's own failure has been told already.
    if (!writeOutput(table, contigTableHeader() + contigTableRows(prints, map), error))
        return o.output.empty() ? 1 : fail(error);
    if (!o.mtp.empty() &&
        !writeOutput(mtp, tilingTableHeader() + tilingTableRows(prints, map, paths), error))
        return fail(error);
    if (!o.gff.empty() && !writeOutput(gff, contigGff(prints, map, paths), error))
        return fail(error);
    if (!o.html.empty()) {
        ContigPageInput in;
        in.files = o.files;
        in.prints = &prints;
        in.map = &map;
        in.settings = o.map;
        in.mtpShared = o.mtpShared;
        in.table = o.output;
        in.tilingPath.assign(prints.size(), 0);
        for (const std::vector<int>& path : tilingPrints(paths))
            for (int v : path)
                in.tilingPath[(size_t)v] = 1;
        if (!writeOutput(page, contigPage(in), error)) return fail(error);
    }
    return 0;
}
