// zeGenLibrary: writes the bands files of a simulated clone library, one
// file per gel, and the truth: where each clone lies on the genome. The
// overlap benchmark and the tests compare zeCompare's pairs with it.
//
// The model: a genome cut into restriction fragments of exponential length;
// clones are random intervals of normal length; a clone's bands are its
// interior fragments within a size window, placed on the standard scale by
// log size, each with normal gel noise; bands that fall on one position
// merge, as doublets do on a gel.
//
// Output depends only on the seed and the flags: the random numbers come
// from our own splitmix64 and Box-Muller (library distributions differ
// between versions), one stream per concern.

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "zeError.h"
#include "zeWriteCheck.h"
#include "zeScale.h"
#include "zeSplitMix.h"
#include "zeToolArgs.h"
#include "zeVersion.h"

namespace {

// ---------------------------------------------------------------- random

class Rng {
  public:
    explicit Rng(uint64_t seed) : state(seed) {}
    uint64_t next() { return splitMixNext(state); }
    // In (0, 1]: never 0, so that its log is finite.
    double uniform() { return (double)((next() >> 11) + 1) * (1.0 / 9007199254740992.0); }
    double exponential(double mean) { return -mean * std::log(uniform()); }
    // Standard normal by Box-Muller, one value per call.
    double gaussian() {
        double r = std::sqrt(-2.0 * std::log(uniform()));
        return r * std::cos(6.283185307179586 * uniform());
    }

  private:
    uint64_t state;
};

enum Stream : uint64_t { GENOME = 1, CLONES, NOISE };

Rng streamFor(uint64_t seed, Stream s) {
    return Rng(streamSeed(seed, s));
}

// ---------------------------------------------------------------- options

struct Options {
    std::string outDir;
    long clones = 960;
    uint64_t seed = 1;
    long perGel = 96;
    double fragmentMean = 4000;
    double cloneMean = 150000;
    double cloneSd = 25000;
    double minSize = 600;
    double maxSize = 30000;
    double noise = 1.5;
    double coverage = 10;
    double genomeLength = 0; // 0: from the coverage
};

// Far more fragments than any library needs: a guard against a genome
// length that would fill the memory.
const double MOST_FRAGMENTS = 5e8;

void usage() {
    Options d;
    printf("USAGE: zeGenLibrary --out DIR [options]\n"
           "Writes the bands files of a simulated clone library into DIR (created if\n"
           "missing): <gel>.bands for gels 1, 2, ... of --per-gel clones each, in the\n"
           "format zeStep5 writes, and truth.tsv: clone, gel, start and end of every\n"
           "clone on the genome (0-based, end exclusive), tab-separated with a header.\n"
           "\n"
           "The genome is cut into restriction fragments of exponential length;\n"
           "clones are random intervals of normal length; a clone's bands are the\n"
           "fragments wholly inside it of --min-size to --max-size bases, placed on\n"
           "the standard scale by log size (--max-size at 0, --min-size at %d),\n"
           "each moved by normal gel noise and truncated to a whole position; bands\n"
           "on one position merge into one.\n"
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
           "  -h, --help           this text\n"
           "  --version            the version\n",
           NORM_SCALE_LENGTH - 1, d.clones, (unsigned long long)d.seed, d.perGel, d.fragmentMean,
           d.cloneMean, d.cloneSd, d.minSize, d.maxSize, d.noise, d.coverage, d.coverage);
}

// A finite number above 0 (or of 0 or more when zeroAllowed).
double parseAmount(const std::string& option, const std::string& text, bool zeroAllowed) {
    char* end = nullptr;
    double v = text.empty() ? 0 : strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(v) || v < 0 || (!zeroAllowed && v == 0))
        failUsage(option + " needs a number " + (zeroAllowed ? "of 0 or more" : "above 0") +
                  ", not '" + text + "'");
    return v;
}

Options parseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i], value;
        size_t eq = arg.find('=');
        bool hasValue = arg.compare(0, 2, "--") == 0 && eq != std::string::npos;
        if (hasValue) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
        }
        if (arg == "-h" || arg == "--help") {
            usage();
            exit(fflush(stdout) == 0 && !ferror(stdout) ? 0 : 1);
        }
        if (arg == "--version") {
            fputs(versionLine("zeGenLibrary").c_str(), stdout);
            exit(fflush(stdout) == 0 && !ferror(stdout) ? 0 : 1);
        }
        if (!hasValue) {
            if (i + 1 >= argc) failUsage(arg + " needs a value");
            value = argv[++i];
        }
        if (arg == "--out") {
            if (value.empty()) failUsage("--out needs a directory");
            o.outDir = value;
        } else if (arg == "--clones") {
            o.clones = parseWhole(arg, value, 1, 100000000);
        } else if (arg == "--seed") {
            o.seed = parseSeed(value);
        } else if (arg == "--per-gel") {
            o.perGel = parseWhole(arg, value, 1, 100000000);
        } else if (arg == "--fragment-mean") {
            o.fragmentMean = parseAmount(arg, value, false);
        } else if (arg == "--clone-mean") {
            o.cloneMean = parseAmount(arg, value, false);
        } else if (arg == "--clone-sd") {
            o.cloneSd = parseAmount(arg, value, true);
        } else if (arg == "--min-size") {
            o.minSize = parseAmount(arg, value, false);
        } else if (arg == "--max-size") {
            o.maxSize = parseAmount(arg, value, false);
        } else if (arg == "--noise") {
            o.noise = parseAmount(arg, value, true);
        } else if (arg == "--coverage") {
            o.coverage = parseAmount(arg, value, false);
        } else if (arg == "--genome-length") {
            o.genomeLength = parseAmount(arg, value, false);
        } else {
            failUsage("unknown option '" + arg + "'");
        }
    }
    if (o.outDir.empty()) failUsage("--out DIR is required");
    if (o.minSize >= o.maxSize)
        failUsage("--min-size must be below --max-size");
    if (o.genomeLength == 0) o.genomeLength = std::ceil(o.clones * o.cloneMean / o.coverage);
    if (o.genomeLength / o.fragmentMean > MOST_FRAGMENTS)
        failUsage("a genome of " + std::to_string((long long)o.genomeLength) +
                  " bases would hold too many fragments of mean length " +
                  std::to_string((long long)o.fragmentMean));
    return o;
}

// ---------------------------------------------------------------- model

// The cut positions along the genome: fragment k runs from cuts[k] to
// cuts[k + 1]; the first cut is 0 and the last the genome's end.
std::vector<int64_t> cutGenome(Rng& rng, int64_t length, double fragmentMean) {
    std::vector<int64_t> cuts;
    cuts.reserve((size_t)(length / fragmentMean * 1.01) + 16);
    double at = 0;
    cuts.push_back(0);
    for (;;) {
        at += rng.exponential(fragmentMean);
        int64_t cut = (int64_t)at;
        if (cut >= length) break;
        if (cut > cuts.back()) cuts.push_back(cut);
    }
    cuts.push_back(length);
    return cuts;
}

struct Clone {
    int64_t start = 0, end = 0; // [start, end)
};

Clone placeClone(Rng& rng, const Options& o, int64_t genome) {
    double length = std::round(o.cloneMean + o.cloneSd * rng.gaussian());
    Clone c;
    int64_t n = (int64_t)std::min((double)genome, std::max(1.0, length));
    c.start = (int64_t)((double)(genome - n + 1) * (1.0 - rng.uniform()));
    c.start = std::min(c.start, genome - n);
    c.end = c.start + n;
    return c;
}

// The clone's bands: standard positions of its interior fragments in the
// size window, with noise, truncated toward zero as the step writes them,
// negative ones dropped, ascending, equal ones merged.
void cloneBands(Rng& noise, const Options& o, const std::vector<int64_t>& cuts, const Clone& c,
                std::vector<int>& bands) {
    bands.clear();
    const double logMax = std::log(o.maxSize);
    const double scale = (NORM_SCALE_LENGTH - 1) / (logMax - std::log(o.minSize));
    size_t k = std::lower_bound(cuts.begin(), cuts.end(), c.start) - cuts.begin();
    for (; k + 1 < cuts.size() && cuts[k + 1] <= c.end; ++k) {
        double size = (double)(cuts[k + 1] - cuts[k]);
        if (size < o.minSize || size > o.maxSize) continue;
        double position = (logMax - std::log(size)) * scale + o.noise * noise.gaussian();
        if (position >= 0) bands.push_back((int)position);
    }
    std::sort(bands.begin(), bands.end());
    bands.erase(std::unique(bands.begin(), bands.end()), bands.end());
}

std::string cloneName(long ordinal) {
    char name[32];
    snprintf(name, sizeof name, "L%06ld", ordinal);
    return name;
}

// ---------------------------------------------------------------- output

void appendNumber(std::string& out, long long v) {
    char digits[24];
    int n = snprintf(digits, sizeof digits, "%lld", v);
    out.append(digits, (size_t)n);
}

// Writes one file at once; false after its ERROR line.
bool writeFile(const std::string& path, const std::string& bytes) {
    CheckedOutput out = CheckedOutput::file(path, OnWriteFailure::ReturnFalse);
    out.write(bytes);
    return out.finish();
}

} // namespace

int main(int argc, char** argv) {
    setUsageProgram("zeGenLibrary");
    Options o = parseOptions(argc, argv);
    makeDirectories(o.outDir);

    Rng genomeRng = streamFor(o.seed, GENOME);
    Rng cloneRng = streamFor(o.seed, CLONES);
    Rng noiseRng = streamFor(o.seed, NOISE);
    const int64_t genome = (int64_t)o.genomeLength;
    const std::vector<int64_t> cuts = cutGenome(genomeRng, genome, o.fragmentMean);

    std::string truth = "clone\tgel\tstart\tend\n", gel;
    std::vector<int> bands;
    for (long i = 0; i < o.clones; ++i) {
        long gelNumber = 1 + i / o.perGel;
        Clone c = placeClone(cloneRng, o, genome);
        cloneBands(noiseRng, o, cuts, c, bands);
        std::string name = cloneName(i + 1);
        gel += "         " + name + " ";
        appendNumber(gel, (long long)bands.size());
        gel += ' ';
        appendNumber(gel, gelNumber);
        gel += '\n';
        for (int b : bands) {
            appendNumber(gel, b);
            gel += '\n';
        }
        gel += "-1\n";
        truth += name + '\t';
        appendNumber(truth, gelNumber);
        truth += '\t';
        appendNumber(truth, c.start);
        truth += '\t';
        appendNumber(truth, c.end);
        truth += '\n';
        if ((i + 1) % o.perGel == 0 || i + 1 == o.clones) {
            if (!writeFile(o.outDir + "/" + std::to_string(gelNumber) + ".bands", gel)) return 1;
            gel.clear();
        }
    }
    return writeFile(o.outDir + "/truth.tsv", truth) ? 0 : 1;
}
