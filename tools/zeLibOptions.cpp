#include "zeLibOptions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "zeLibClone.h"
#include "zeLibDraft.h"
#include "zeLibGenome.h"
#include "zeScale.h"
#include "zeTextFile.h"
#include "zeToolArgs.h"
#include "zeVersion.h"

namespace {

// Far more fragments than any library needs: a guard against a genome
// length that would fill the memory.
const double MOST_FRAGMENTS = 5e8;

std::string vectorBandsText(const std::vector<VectorBand>& bands) {
    if (bands.empty()) return "none";
    std::string text;
    for (const VectorBand& b : bands) {
        char item[64];
        snprintf(item, sizeof item, "%s%d:%g", text.empty() ? "" : ",", b.position, b.share);
        text += item;
    }
    return text;
}

std::string usageText() {
    Options d;
    const LibraryErrors& e = d.errors;
    return helpText("USAGE: zeGenLibrary --out DIR [options]\n"
           "Writes the bands files of a simulated clone library into DIR (created if\n"
           "missing): <gel>.bands for gels 1, 2, ... of --per-gel clones each, in the\n"
           "format zeStep5 writes, and truth.tsv, where every clone lies on the genome\n"
           "(below).\n"
           "\n"
           "The genome is cut into restriction fragments of exponential length;\n"
           "clones are random intervals of normal length; a clone's bands are the\n"
           "fragments wholly inside it of --min-size to --max-size bases, placed on\n"
           "the standard scale by log size (--max-size at 0, --min-size at %d),\n"
           "each moved by normal gel noise and truncated to a whole position; bands\n"
           "on one position merge into one.\n"
           "\n"
           "The errors of a real library are on by default, each set by its flag\n"
           "below; --perfect turns them all off, and error flags given with it, before\n"
           "or after, still apply. A clone's bands are made in this order: its\n"
           "fragment bands (whole fragments, and end fragments when on) -> each lost\n"
           "with the --missing-bands chance -> gel noise, bands below 0 dropped ->\n"
           "extra bands -> vector bands, with gel noise -> ascending, bands on one\n"
           "position merged.\n"
           "\n"
           "  --out DIR            directory to write (required)\n"
           "  --clones N           number of clones (default %ld); clones are named\n"
           "                       L000001, L000002, ...\n"
           "  --seed N             random seed, unsigned 64-bit (default %llu); the\n"
           "                       same seed and flags give the same files\n"
           "  --per-gel N          clones per gel, one bands file each (default %ld)\n"
           "  --fragment-mean BP   mean restriction fragment length (default %g)\n"
           "  --clone-mean BP      mean clone length (default %g)\n"
           "  --clone-sd BP        standard deviation of the clone length (default %g)\n"
           "  --min-size BP        smallest fragment seen as a band (default %g)\n"
           "  --max-size BP        largest fragment seen as a band (default %g)\n"
           "  --noise UNITS        standard deviation of the gel noise of a band, in\n"
           "                       standard units (default %g)\n"
           "  --coverage X         genome length = clones x clone-mean / X (default\n"
           "                       %g: every base in about %g clones, as a library\n"
           "                       is made deep enough to tile the genome with\n"
           "                       overlaps, and overlaps are what is compared)\n"
           "  --genome-length BP   the genome length itself (overrides --coverage)\n"
           "  --perfect            no errors: every error flag below is off unless\n"
           "                       given\n"
           "  --extra-bands SHARE  extra bands of a clone: SHARE x its fragment\n"
           "                       bands left after loss and noise, rounded, each\n"
           "                       at a uniform position 0 to %d (default %g)\n"
           "  --missing-bands P    chance that a fragment band is lost (default %g)\n"
           "  --vector-bands LIST  bands of the cloning vector, POS:SHARE,...: a band\n"
           "                       at standard position POS in SHARE of the clones,\n"
           "                       with gel noise; none for no vector bands (default\n"
           "                       %s)\n"
           "  --end-fragments on|off  the partial fragments at a clone's ends, from\n"
           "                       its start to its first cut and from its last cut\n"
           "                       to its end, are bands when of --min-size to\n"
           "                       --max-size bases (default %s)\n"
           "  --chimeric SHARE     chance that a clone is chimeric, joined from two\n"
           "                       pieces: its first %g-%g%% (uniform) where it was\n"
           "                       placed, the rest at a uniform place at least %g Mb\n"
           "                       from it (a clone with no such place stays whole);\n"
           "                       its bands are both pieces' (default %g)\n"
           "  --repeats SHARE      share of the genome, at most %g, covered by copies\n"
           "                       of repeat families: blocks of %g-%g kb (uniform),\n"
           "                       each with cuts of its own and %d-%d copies laid at\n"
           "                       random without overlap, so that distant clones\n"
           "                       share bands (default %g)\n"
           "  --genome             also write the genome as sequence, genome.fasta:\n"
           "                       random bases holding --site at every cut and\n"
           "                       nowhere else (nor its reverse complement), so\n"
           "                       that a digest gives the library's fragments (a\n"
           "                       repeat family's copies share their sites, not\n"
           "                       their bases); cuts closer than the site's length\n"
           "                       are dropped first, so a few bands may differ from\n"
           "                       a run without it.\n"
           "                       Also <gel>.sizes beside each bands file: every\n"
           "                       band's fragment size in bases as the gel's size\n"
           "                       calibration reads it from its position, ascending\n"
           "  --genome-from FASTA  the genome a real sequence (plain or gzip; read as\n"
           "                       a stream, its records end to end in file order):\n"
           "                       the cuts are where --site or its reverse\n"
           "                       complement starts, none across N, an ambiguous\n"
           "                       base or a record's end; --fragment-mean and\n"
           "                       --coverage play no part. Writes <gel>.sizes as\n"
           "                       --genome does but no genome.fasta; with --draft,\n"
           "                       the draft's bases and draft-truth.tsv's\n"
           "                       coordinates are those of the records end to end.\n"
           "                       Excludes --repeats and --genome-length\n"
           "  --site SEQ           the restriction site of --genome, 4 to 20 of ACGT\n"
           "                       (default %s, HindIII)\n"
           "  --draft              also a draft assembly of the genome (implies\n"
           "                       --genome): draft.fasta, pieces of exponential\n"
           "                       length (at least %lld bases) with gaps of 0-%lld\n"
           "                       bases between them, half reverse-complemented,\n"
           "                       longest first; and draft-truth.tsv, one row per\n"
           "                       part: sequence, part, seq_start, seq_end,\n"
           "                       genome_start, genome_end, strand (0-based, ends\n"
           "                       excluded)\n"
           "  --draft-mean BP      mean length of a draft piece (default %g: an N50\n"
           "                       of about 50 kb)\n"
           "  --misjoins N         draft sequences glued from two pieces at least\n"
           "                       %g Mb apart (default %ld)\n"
           "  --chromosomes N      the genome is N chromosomes of equal length end to\n"
           "                       end, chr1 first (default %ld); no clone is placed\n"
           "                       across two (one that would is drawn again), a\n"
           "                       chimeric clone's pieces may lie on two. Given,\n"
           "                       truth.tsv ends in two more columns (below)\n"
           "  --markers BP         markers at about one per BP bases (default none):\n"
           "                       each chromosome cut into round(length / BP) equal\n"
           "                       windows, one marker at a uniform place in each,\n"
           "                       named m000001, m000002, ... along the genome.\n"
           "                       Writes markers.tsv (clone marker: one row per\n"
           "                       hit), marker-map.tsv (marker chromosome position:\n"
           "                       the genetic map, in bases along the chromosome)\n"
           "                       and markers-truth.tsv (marker chromosome position\n"
           "                       genome_position repeat_probe: the true places,\n"
           "                       repeat_probe 1 or 0)\n"
           "  --marker-miss P      chance that a clone holding a marker shows no hit\n"
           "                       (default %g)\n"
           "  --marker-false P     false hits: every hit a marker makes brings one\n"
           "                       more, on a clone drawn uniformly from the whole\n"
           "                       library, with chance P, so that about P of its\n"
           "                       hits are false (default %g)\n"
           "  --marker-map-error BP  standard deviation of the normal error of a\n"
           "                       marker's map position, kept within its chromosome\n"
           "                       (default %g): nearby markers may be mapped\n"
           "                       out of their true order\n"
           "  --repeat-probes P    chance that a marker is a repeat probe: it also\n"
           "                       hits the clones at %d-%d (uniform) more places\n"
           "                       anywhere on the genome (default %g)\n"
           "  -h, --help           this text\n"
           "  --version            the version\n"
           "\n"
           "truth.tsv, tab-separated with a header, one row per clone:\n"
           "  clone, gel           the clone's name and gel number\n"
           "  start, end           where it lies on the genome, 0-based, end exclusive\n"
           "                       (of a chimeric clone: its first piece)\n"
           "  chimeric             1 for a chimeric clone, else 0\n"
           "  first_fragment, last_fragment  the first and last restriction fragment\n"
           "                       wholly inside it (its first piece), counted from 0\n"
           "                       along the genome (with its repeat copies); - when\n"
           "                       there is none\n"
           "  start2, end2, first_fragment2, last_fragment2  the same of a chimeric\n"
           "                       clone's second piece; - for the other clones\n"
           "  chromosome, chromosome2  with --chromosomes: the chromosome of the clone\n"
           "                       (its first piece) and of a chimeric clone's second\n"
           "                       piece (where it starts); - for the other clones\n"
           "With --repeats above 0, also repeats.tsv, one row per repeat copy: block\n"
           "(its family, from 1), start, end.\n",
           NORM_SCALE_LENGTH - 1, d.clones, (unsigned long long)d.seed, d.perGel, d.fragmentMean,
           d.cloneMean, d.cloneSd, d.minSize, d.maxSize, d.noise, d.coverage, d.coverage,
           NORM_SCALE_LENGTH - 1, e.extraBands, e.missingBands,
           vectorBandsText(e.vectorBands).c_str(), e.endFragments ? "on" : "off",
           CHIMERA_SPLIT_LOW * 100, CHIMERA_SPLIT_HIGH * 100, CHIMERA_GAP / 1e6, e.chimeric,
           MOST_REPEATS, REPEAT_SHORTEST / 1e3, REPEAT_LONGEST / 1e3, REPEAT_FEWEST_COPIES,
           REPEAT_MOST_COPIES, e.repeats, d.site.c_str(), (long long)DRAFT_SHORTEST,
           (long long)DRAFT_MOST_GAP, d.draftMean, MISJOIN_DISTANCE / 1e6, d.misjoins,
           d.chromosomes, d.markers.miss, d.markers.falseHits, d.markers.mapError,
           REPEAT_PROBE_FEWEST_LOCI, REPEAT_PROBE_MOST_LOCI, d.markers.repeatProbes);
}

// POS:SHARE,POS:SHARE,... or none.
std::vector<VectorBand> parseVectorBands(const std::string& text) {
    std::vector<VectorBand> bands;
    if (text == "none") return bands;
    for (size_t at = 0;;) {
        size_t comma = text.find(',', at);
        std::string item = text.substr(at, comma == std::string::npos ? comma : comma - at);
        size_t colon = item.find(':');
        if (colon == std::string::npos)
            failUsage("--vector-bands needs POS:SHARE items separated by commas, or none, not '" +
                      shownText(text) + "'");
        VectorBand b;
        b.position = (int)wholeValue({0, "--vector-bands position", item.substr(0, colon)}, 0,
                                     NORM_SCALE_LENGTH - 1);
        b.share = realRangeValue({0, "--vector-bands share", item.substr(colon + 1)}, 0, 1);
        bands.push_back(b);
        if (comma == std::string::npos) return bands;
        at = comma + 1;
    }
}

bool parseOnOff(const std::string& option, const std::string& text) {
    if (text != "on" && text != "off")
        failUsage(option + " needs on or off, not '" + shownText(text) + "'");
    return text == "on";
}

// 4 to 20 bases of ACGT, upper or lower case; written upper case.
std::string siteValue(const std::string& text) {
    std::string site;
    for (char c : text) {
        char u = (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
        if (u != 'A' && u != 'C' && u != 'G' && u != 'T')
            failUsage("--site needs bases A, C, G and T only, not '" + shownText(text) + "'");
        site += u;
    }
    if (site.size() < 4 || site.size() > 20)
        failUsage("--site needs 4 to 20 bases, not '" + shownText(text) + "'");
    return site;
}

} // namespace

Options parseOptions(int argc, char** argv) {
    const std::vector<OptionRule> rules = {
        {0, "out", true},           {0, "clones", true},       {0, "seed", true},
        {0, "per-gel", true},       {0, "fragment-mean", true}, {0, "clone-mean", true},
        {0, "clone-sd", true},      {0, "min-size", true},     {0, "max-size", true},
        {0, "noise", true},         {0, "coverage", true},     {0, "genome-length", true},
        {0, "perfect", false},      {0, "extra-bands", true},  {0, "missing-bands", true},
        {0, "vector-bands", true},  {0, "end-fragments", true}, {0, "chimeric", true},
        {0, "repeats", true},       {0, "genome", false},      {0, "site", true},
        {0, "draft", false},        {0, "draft-mean", true},   {0, "misjoins", true},
        {0, "genome-from", true},   {0, "chromosomes", true},  {0, "markers", true},
        {0, "marker-miss", true},   {0, "marker-false", true}, {0, "marker-map-error", true},
        {0, "repeat-probes", true},
        HELP_OPTION,                VERSION_OPTION};
    CommandLine line = readToolCommandLine(argc, argv, rules);
    Options o;
    LibraryErrors& e = o.errors;
    bool perfect = false, help = false, version = false;
    // The error flags given: --perfect turns off only the others.
    bool extra = false, missing = false, vector = false, ends = false, chimeric = false,
         repeats = false;
    for (const GivenOption& given : line.options) {
        const std::string& name = rules[given.rule].longName;
        const std::string& value = given.value;
        if (name == "out") {
            if (value.empty()) failUsage("--out needs a directory");
            o.outDir = value;
        } else if (name == "clones") {
            o.clones = wholeValue(given, 1, 100000000);
        } else if (name == "seed") {
            o.seed = unsignedValue(given);
        } else if (name == "per-gel") {
            o.perGel = wholeValue(given, 1, 100000000);
        } else if (name == "fragment-mean") {
            o.fragmentMean = realValue(given, 0, true);
        } else if (name == "clone-mean") {
            o.cloneMean = realValue(given, 0, true);
        } else if (name == "clone-sd") {
            o.cloneSd = realValue(given, 0, false);
        } else if (name == "min-size") {
            o.minSize = realValue(given, 0, true);
        } else if (name == "max-size") {
            o.maxSize = realValue(given, 0, true);
        } else if (name == "noise") {
            o.noise = realValue(given, 0, false);
        } else if (name == "coverage") {
            o.coverage = realValue(given, 0, true);
        } else if (name == "genome-length") {
            o.genomeLength = realValue(given, 0, true);
        } else if (name == "perfect") {
            perfect = true;
        } else if (name == "extra-bands") {
            e.extraBands = realRangeValue(given, 0, 1);
            extra = true;
        } else if (name == "missing-bands") {
            e.missingBands = realRangeValue(given, 0, 1);
            missing = true;
        } else if (name == "vector-bands") {
            e.vectorBands = parseVectorBands(value);
            vector = true;
        } else if (name == "end-fragments") {
            e.endFragments = parseOnOff(given.name, value);
            ends = true;
        } else if (name == "chimeric") {
            e.chimeric = realRangeValue(given, 0, 1);
            chimeric = true;
        } else if (name == "repeats") {
            e.repeats = realRangeValue(given, 0, MOST_REPEATS);
            repeats = true;
        } else if (name == "genome") {
            o.genome = true;
        } else if (name == "site") {
            o.site = siteValue(value);
        } else if (name == "genome-from") {
            if (value.empty()) failUsage("--genome-from needs a FASTA file");
            o.genomeFrom = value;
        } else if (name == "draft") {
            o.draft = o.genome = true;
        } else if (name == "draft-mean") {
            o.draftMean = realValue(given, (double)DRAFT_SHORTEST, false);
        } else if (name == "misjoins") {
            o.misjoins = wholeValue(given, 0, 1000000);
        } else if (name == "chromosomes") {
            o.chromosomes = wholeValue(given, 1, 10000);
            o.chromosomesGiven = true;
        } else if (name == "markers") {
            o.markers.spacing = realValue(given, 0, true);
        } else if (name == "marker-miss") {
            o.markers.miss = realRangeValue(given, 0, 1);
        } else if (name == "marker-false") {
            o.markers.falseHits = realRangeValue(given, 0, 1);
        } else if (name == "marker-map-error") {
            o.markers.mapError = realValue(given, 0, false);
        } else if (name == "repeat-probes") {
            o.markers.repeatProbes = realRangeValue(given, 0, 1);
        } else if (name == "help") {
            help = true;
        } else {
            version = true;
        }
    }
    if (help) printAndExit(usageText());
    if (version) printAndExit(versionLine("zeGenLibrary"));
    if (!line.operands.empty()) failUsage("unexpected argument '" + line.operands[0] + "'");
    if (perfect) {
        if (!extra) e.extraBands = 0;
        if (!missing) e.missingBands = 0;
        if (!vector) e.vectorBands.clear();
        if (!ends) e.endFragments = false;
        if (!chimeric) e.chimeric = 0;
        if (!repeats) e.repeats = 0;
    }
    if (o.outDir.empty()) failUsage("--out DIR is required");
    if (o.minSize >= o.maxSize) failUsage("--min-size must be below --max-size");
    if (!o.genomeFrom.empty()) {
        if (o.genomeLength != 0) failUsage("--genome-length and --genome-from exclude each other");
        if (o.errors.repeats > 0)
            failUsage("--repeats and --genome-from exclude each other: a real genome has its own");
    }
    if (o.genomeLength == 0) o.genomeLength = std::ceil(o.clones * o.cloneMean / o.coverage);
    if (o.genomeLength / o.fragmentMean > MOST_FRAGMENTS)
        failUsage("a genome of " + std::to_string((long long)o.genomeLength) +
                  " bases would hold too many fragments of mean length " +
                  std::to_string((long long)o.fragmentMean));
    return o;
}
