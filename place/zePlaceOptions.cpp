#include "zePlaceOptions.h"

#include "zeDigest.h"
#include "zeOptions.h"
#include "zeSulston.h"

namespace {

const char* PROGRAM = "zePlace";

const std::vector<OptionRule> RULES = {
    {'t', "", true},      {'c', "", true},       {'o', "", true},    {0, "map", true},
    {0, "site", true},    {0, "enzyme", true},   {0, "agp", true},   {0, "gff", true},
    {0, "map-gff", true}, {0, "html", true},    {0, "markers", true},  {0, "marker-map", true},
    {0, "chromosomes", true}, HELP_OPTION,       VERSION_OPTION};

std::string* fileOption(const OptionRule& rule, PlaceOptions& o) {
    if (rule.shortName == 'o') return &o.output;
    if (rule.longName == "map") return &o.map;
    if (rule.longName == "agp") return &o.agp;
    if (rule.longName == "gff") return &o.gff;
    if (rule.longName == "map-gff") return &o.mapGff;
    if (rule.longName == "html") return &o.html;
    if (rule.longName == "markers") return &o.markers;
    if (rule.longName == "marker-map") return &o.markerMap;
    if (rule.longName == "chromosomes") return &o.chromosomes;
    return nullptr;
}

// What is wrong with a command line read whole, or empty; sets the site.
std::string commandLineFault(PlaceOptions& o, const std::vector<std::string>& operands) {
    std::string why;
    // An empty operand would pass for no sequence file, and nothing be placed.
    for (const std::string& operand : operands)
        if (operand.empty()) return "an empty file name among the operands";
    const bool chromosomes = !o.chromosomes.empty();
    if (chromosomes != !o.markers.empty() || chromosomes != !o.markerMap.empty())
        return "--chromosomes, --markers and --marker-map go together";
    if (o.map.empty()) return "no map given: --map CONTIGS.tsv";
    if (!o.mapGff.empty() && o.gff.empty())
        return "--map-gff goes with --gff, the file it is written to with the placements";
    if (chromosomes && o.siteText.empty() && o.enzyme.empty()) {
        // No sequences to place: any operands are bands files.
        for (const std::string* given : {&o.output, &o.agp, &o.gff})
            if (!given->empty()) return "-o, --agp and --gff place sequences: give --site or --enzyme";
        return "";
    }
    if (!o.siteText.empty() && !o.enzyme.empty()) return "give --site or --enzyme, not both";
    if (o.siteText.empty() && o.enzyme.empty()) return "no site given: --site SITE or --enzyme NAME";
    bool known = !o.siteText.empty() ? readSite(o.siteText, o.site, why)
                                     : enzymeSite(o.enzyme, o.site, why);
    if (!known) return why;
    if (operands.empty()) return "no sequence file given";
    if (operands.size() < 2) return "no bands file given";
    return "";
}

} // namespace

std::string placeUsage() {
    PlaceSettings d;
    return helpText(
        "USAGE:  zePlace --map CONTIGS.tsv (--site SITE | --enzyme NAME) [-t TOL]\n"
        "                [-c CHANCE] [-o FILE] [--agp FILE] [--gff FILE [--map-gff MAP.gff3]]\n"
        "                [--html PAGE]\n"
        "                [--markers HITS --marker-map MAP --chromosomes OUT]\n"
        "                SEQUENCES.fasta[.gz] BANDSFILE...\n"
        "        zePlace --map CONTIGS.tsv --markers HITS --marker-map MAP\n"
        "                --chromosomes OUT [-t TOL] [--html PAGE] [BANDSFILE...]\n"
        "Places sequences (a draft assembly, sequenced clones) on a physical map: each\n"
        "record is cut in silico at the enzyme's site, and its fragments are matched\n"
        "to the fragment sizes of the map's clones (GEL.sizes beside each GEL.bands).\n"
        "A sequence is placed where its fragments run along one contig in order.\n"
        "Writes one tab-separated row per placed piece (see man zePlace):\n"
        "  sequence seq_start seq_end contig left right strand fragments matched\n"
        "  clones status\n"
        "  --map FILE     the contig table zeContig wrote (-o) from these bands files\n"
        "  --site SITE    the recognition site, 4-20 bases of ACGT (AAGCTT: HindIII)\n"
        "  --enzyme NAME  or the enzyme by name: HindIII, EcoRI, BamHI, BglII, XbaI,\n"
        "                 XhoI, SalI, PstI, SacI, KpnI, NcoI, EcoRV, NotI, HaeIII,\n"
        "                 Sau3AI\n"
        "  -t TOL         tolerance of a size match in standard units, as zeContig's\n"
        "                 -t, 1-%d (default %d)\n"
        "  -c CHANCE      place only where as good a run of matches is expected by\n"
        "                 chance at most CHANCE times per sequence (above 0, default %g)\n"
        "  -o FILE        write the placements to FILE instead of standard output\n"
        "  --agp FILE     also write the placed sequences along each contig as AGP 2.1\n"
        "  --gff FILE     also write the placements as GFF3 on the contigs\n"
        "  --map-gff MAP.gff3\n"
        "                 the map's GFF3 that zeContig wrote (--gff): --gff then\n"
        "                 writes it again, checked against the table, with the\n"
        "                 placements after it, one file of the map and its placements\n"
        "  --html PAGE    also write a page: the sequences along each contig, the\n"
        "                 splits and the unplaced sequences\n"
        "  --markers HITS the clones each marker hits: a header 'clone marker',\n"
        "                 then one line per hit (tabs or blanks between)\n"
        "  --marker-map MAP\n"
        "                 the markers' places on a genetic map: a header 'marker\n"
        "                 chromosome position', then one row per marker (position\n"
        "                 in any numeric unit: only the order matters)\n"
        "  --chromosomes OUT\n"
        "                 write the contigs placed on the chromosomes by their\n"
        "                 markers, one row per contig: contig chromosome start end\n"
        "                 strand markers status (anchored, conflict, unanchored);\n"
        "                 with these three and no --site or --enzyme, no\n"
        "                 sequences are placed and the operands, if any, are the\n"
        "                 bands files, whose fingerprints confirm a contig's lone\n"
        "                 hits; --html draws the chromosomes\n"
        "  -h, --help     this text\n"
        "  --version      the version\n"
        "Every file output is replaced only when complete.\n",
        MAX_TOLERANCE, d.chains.tolerance, d.cutoff);
}

bool readPlaceOptions(int argc, char** argv, PlaceOptions& o, std::string& error) {
    CommandLine line;
    if (!readCommandLine(argc, argv, PROGRAM, RULES, line, error)) return false;
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
            o.place.chains.tolerance = (int)whole;
        } else if (rule.shortName == 'c') {
            if (!realOption(PROGRAM, given, 0, true, o.place.cutoff, error)) return false;
        } else if (rule.longName == "site") {
            o.siteText = given.value;
        } else if (rule.longName == "enzyme") {
            o.enzyme = given.value;
        } else if (rule.longName == "help") {
            o.help = true;
        } else {
            o.version = true;
        }
    }
    if (o.help || o.version) return true;
    std::string why = commandLineFault(o, line.operands);
    if (!why.empty()) {
        error = usageProblem(PROGRAM, why);
        return false;
    }
    const bool sequences = !o.site.empty();
    if (sequences) o.sequences = line.operands[0];
    o.files.assign(line.operands.begin() + (sequences ? 1 : 0), line.operands.end());
    return true;
}
