#include "zeContigOptions.h"

#include "zeContigPage.h"
#include "zeCores.h"
#include "zeOptions.h"

namespace {

const char* PROGRAM = "zeContig";
const int MOST_MTP_SHARED = 100000;
// Looser than this, a marker's wrong hits would join by chance.
const double LOOSEST_MARKER_CUTOFF = 1e-3;

const std::vector<OptionRule> RULES = {
    {'t', "", true},        {'c', "", true},   {'j', "", true},
    {'o', "", true},        {0, "mtp", true},  {0, "mtp-shared", true},
    {0, "gff", true},       {0, "previous", true}, {0, "html", true},
    {0, "markers", true},   {0, "marker-cutoff", true},
    HELP_OPTION,            VERSION_OPTION};

// Where the file named by an option goes; null for an option that names
// no file.
std::string* fileOption(const OptionRule& rule, ContigOptions& o) {
    if (rule.shortName == 'o') return &o.output;
    if (rule.longName == "mtp") return &o.mtp;
    if (rule.longName == "gff") return &o.gff;
    if (rule.longName == "previous") return &o.previous;
    if (rule.longName == "html") return &o.html;
    if (rule.longName == "markers") return &o.markers;
    return nullptr;
}

} // namespace

std::string contigUsage() {
    MapSettings d;
    return helpText(
        "USAGE:  zeContig [-t TOL] [-c CUTOFF] [-j N] [-o FILE] [--mtp FILE]\n"
        "                 [--mtp-shared N] [--gff FILE] [--html PAGE]\n"
        "                 [--markers HITS [--marker-cutoff C]]\n"
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
        "               fewest clones covering it end to end (Q ones only at its\n"
        "               ends), each overlapping the next by at least N band\n"
        "               units and N bands beyond chance (a step with less is weak)\n"
        "  --mtp-shared N\n"
        "               the least overlap of a tiling path's steps, 1 to %d\n"
        "               (default %d)\n"
        "  --gff FILE   also write the map as GFF3 to FILE: a sequence region per\n"
        "               contig, its placed clones and its tiling path\n"
        "  --html PAGE  also write a page: the map's overview and settings, and\n"
        "               drawings of the %d largest contigs\n"
        "  --markers HITS\n"
        "               marker hits, a header 'clone marker' then a line per hit\n"
        "               (tabs or blanks between): two clones a marker hits overlap at\n"
        "               the marker cutoff when they share at least %d bands beyond\n"
        "               their repeat bands, and join two groups of clones only with\n"
        "               %d clones of each in such pairs; a marker hitting more than\n"
        "               %g times the clones of the typical marker is a repeat\n"
        "               probe, not used\n"
        "  --marker-cutoff C\n"
        "               the marker cutoff, at least the build cutoff and at most\n"
        "               %g (default %g)\n"
        "  --previous OLD-TABLE\n"
        "               carry the contig numbers of an earlier table over (clones\n"
        "               matched by name and gel number); merges and splits are told\n"
        "               on NOTE lines on standard error\n"
        "  -h, --help   this text\n"
        "  --version    the version\n"
        "Every file output is replaced only when complete.\n",
        MAX_TOLERANCE, d.tolerance, d.cutoff, MAX_THREADS, everyCore(), MOST_MTP_SHARED,
        DEFAULT_MTP_SHARED, CONTIGS_DRAWN, d.markerShared, d.markerJoinClones,
        d.markerRepeatFactor, LOOSEST_MARKER_CUTOFF, d.markerCutoff);
}

bool readContigOptions(int argc, char** argv, ContigOptions& o, std::string& error) {
    CommandLine line;
    if (!readCommandLine(argc, argv, PROGRAM, RULES, line, error)) return false;
    o.map.threads = everyCore();
    bool markerCutoffGiven = false;
    for (const GivenOption& given : line.options) {
        const OptionRule& rule = RULES[given.rule];
        long whole = 0;
        if (std::string* file = fileOption(rule, o)) {
            if (given.value.empty()) {
                error = usageProblem(PROGRAM, given.name + " needs a file name");
                return false;
            }
            *file = given.value;
        } else if (rule.shortName == 't') {
            if (!wholeOption(PROGRAM, given, 1, MAX_TOLERANCE, whole, error)) return false;
            o.map.tolerance = (int)whole;
        } else if (rule.shortName == 'c') {
            if (!realOption(PROGRAM, given, 0, true, o.map.cutoff, error)) return false;
        } else if (rule.shortName == 'j') {
            if (!wholeOption(PROGRAM, given, 1, MAX_THREADS, whole, error)) return false;
            o.map.threads = (int)whole;
        } else if (rule.longName == "mtp-shared") {
            if (!wholeOption(PROGRAM, given, 1, MOST_MTP_SHARED, whole, error)) return false;
            o.mtpShared = (int)whole;
        } else if (rule.longName == "marker-cutoff") {
            if (!realRangeOption(PROGRAM, given, 0, LOOSEST_MARKER_CUTOFF, o.map.markerCutoff,
                                 error))
                return false;
            markerCutoffGiven = true;
        } else if (rule.longName == "help") {
            o.help = true;
        } else {
            o.version = true;
        }
    }
    o.files = line.operands;
    if (markerCutoffGiven && o.markers.empty()) {
        error = usageProblem(PROGRAM, "--marker-cutoff needs --markers");
        return false;
    }
    if (markerCutoffGiven && o.map.markerCutoff < o.map.cutoff) {
        error = usageProblem(PROGRAM, "--marker-cutoff must be at least the build cutoff (-c)");
        return false;
    }
    if (!o.help && !o.version && o.files.empty()) {
        error = usageProblem(PROGRAM, "no bands file given");
        return false;
    }
    return true;
}
