// zeGenProject: writes a synthetic gel project directory (info, raw-bands,
// traces, norm-fac, names) as the image analysis would leave it, from a
// seed and a few knobs. Tests, benchmarks and the committed example use it.
//
// The gel model: every lane maps standard positions 0..4600 (a little
// further with --ladder-top) onto gel positions through one slightly
// curved function, stretched per lane by a "smile" (quadratic across the
// gel) and a small tilt, plus a tiny per-lane shift. Marker lanes carry a ladder of 15 to 30 fragments whose standard
// positions and sizes are fixed for the gel; clone samples carry bands at
// random gel positions, a few of them just beyond the calibrated range.
//
// Output depends only on the seed and the knobs: the random numbers come
// from our own splitmix64 (library distributions differ between versions),
// and each concern draws from its own stream, so that changing, say, the
// row count leaves the band positions as they were.

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "zeError.h"
#include "zeScale.h"
#include "zeSplitMix.h"
#include "zeTextFile.h"
#include "zeToolArgs.h"
#include "zeToolOutput.h"
#include "zeVersion.h"

namespace {

const int MAX_TRACE_VALUE = 32767; // traces are read back as signed 16-bit

// ---------------------------------------------------------------- random

class Rng {
  public:
    explicit Rng(uint64_t seed) : state(seed) {}
    uint64_t next() { return splitMixNext(state); }
    double uniform() { return (double)(next() >> 11) * (1.0 / 9007199254740992.0); }
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return (int)(next() % (uint64_t)n); }
    bool chance(double p) { return uniform() < p; }
    // Approximately standard normal: the sum of four 16-bit uniforms
    // (Irwin-Hall), scaled to unit variance. One draw, no library maths.
    double gaussian() {
        uint64_t x = next();
        double sum = (double)(x & 0xFFFF) + (double)((x >> 16) & 0xFFFF) +
                     (double)((x >> 32) & 0xFFFF) + (double)(x >> 48);
        return (sum / 65536.0 - 2.0) * 1.7320508075688772;
    }

  private:
    uint64_t state;
};

// Independent streams, one per concern.
enum Stream : uint64_t { LADDER = 1, SHAPE, MARKERS, BANDS, TRACES, NAMES, REPLICATES };

Rng streamFor(uint64_t seed, Stream s) {
    return Rng(streamSeed(seed, s));
}

// ---------------------------------------------------------------- options

struct Options {
    std::string outDir;
    uint64_t seed = 1;
    int lanes = 25;
    int dyes = 1;
    int markerRepeat = 4;
    bool linear = false;
    bool sizes = true;
    int rowLength = 1500;
    int rows = 14;
    int outputX = 2000;
    int outputY = 30;
    std::string gelNumber = "17";
    std::string compression = "gzip";
    std::string username = "demo";
    int imageWidth = 0; // 0: the row length
    // Duplicate samples (further copies of a clone) carry the fragments of
    // the clone's first copy; with mismatchedReplicate the first duplicate
    // of the gel keeps bands of its own instead.
    bool trueReplicates = false;
    bool mismatchedReplicate = false;
    // Standard position of the ladder's last fragment; 0: random, 4400
    // to 4550. Above the scale's length the calibration reaches past its
    // end, and bands land there.
    int ladderTop = 0;
};

const int MOST_LADDER_TOP = NORM_SCALE_LENGTH + NORM_SCALE_LENGTH / 20;
const int FEWEST_ROW_BYTES = 100, FEWEST_ROWS = 3;

std::string usageText() {
    Options d;
    return helpText(
        "USAGE:  zeGenProject --out DIR [options]\n"
        "Writes a synthetic gel project (info, raw-bands, traces, norm-fac, names)\n"
        "into DIR (created if missing; existing files of those names are replaced).\n"
        "  --out DIR              project directory to write (required)\n"
        "  --seed N               random seed, unsigned 64-bit (default %llu)\n"
        "  --lanes N              number of lanes (default %d)\n"
        "  --dyes N               dyes per lane (default %d)\n"
        "  --marker-repeat N      distance between marker lanes; lanes - 1 must be a\n"
        "                         multiple of it (default %d)\n"
        "  --method M             linear or nonlinear (spline) (default %s)\n"
        "  --sizes                calibration carries fragment sizes%s\n"
        "  --no-sizes             calibration without fragment sizes%s\n"
        "  --row-length N         bytes per trace row, at least %d (default %d)\n"
        "  --rows N               rows per sample, at least %d (default %d)\n"
        "  --output-x N           outputxsize of the info file (default %d)\n"
        "  --output-y N           outputysize of the info file (default %d)\n"
        "  --gel-number WORD      gelnumber of the info file (default %s)\n"
        "  --compression WORD     compression command, one word (default %s)\n"
        "  --username WORD        username of the info file (default %s)\n"
        "  --imagewidth N         imagewidth of the info file (default: the row length)\n"
        "  --true-replicates      further copies of a clone carry the same fragments as\n"
        "                         its first copy, with the gel's position noise\n"
        "                         (default: every copy has bands of its own)\n"
        "  --mismatched-replicate as --true-replicates, but the gel's first further copy\n"
        "                         keeps bands of its own: a mis-loaded lane\n"
        "  --ladder-top N         standard position of the marker ladder's last\n"
        "                         fragment, 1000 to %d (default: random, 4400 to\n"
        "                         4550); above %d the calibration reaches past the\n"
        "                         scale's end and bands land at %d and beyond\n"
        "  -h, --help             this text\n"
        "  --version              the version\n",
        (unsigned long long)d.seed, d.lanes, d.dyes, d.markerRepeat,
        d.linear ? "linear" : "nonlinear", d.sizes ? " (default)" : "",
        d.sizes ? "" : " (default)", FEWEST_ROW_BYTES, d.rowLength, FEWEST_ROWS, d.rows,
        d.outputX, d.outputY, d.gelNumber.c_str(), d.compression.c_str(), d.username.c_str(),
        MOST_LADDER_TOP, NORM_SCALE_LENGTH, NORM_SCALE_LENGTH);
}

[[noreturn]] void fail(const std::string& message) {
    printError(message);
    exit(1);
}

// Words of the info file are read up to the next whitespace; gel numbers
// also become part of file names.
std::string parseWord(const std::string& option, const std::string& text, bool fileNamePart) {
    bool bad = text.empty();
    for (char c : text)
        if (isspace((unsigned char)c) || c == '"' || (fileNamePart && c == '/')) bad = true;
    if (bad)
        failUsage(option + " needs one non-empty word without blanks" +
                  std::string(fileNamePart ? " or '/'" : "") + ", not '" + shownText(text) + "'");
    return text;
}

Options parseOptions(int argc, char** argv) {
    const std::vector<OptionRule> rules = {
        {0, "out", true},          {0, "seed", true},
        {0, "lanes", true},        {0, "dyes", true},
        {0, "marker-repeat", true}, {0, "method", true},
        {0, "sizes", false},       {0, "no-sizes", false},
        {0, "row-length", true},   {0, "rows", true},
        {0, "output-x", true},     {0, "output-y", true},
        {0, "gel-number", true},   {0, "compression", true},
        {0, "username", true},     {0, "imagewidth", true},
        {0, "true-replicates", false}, {0, "mismatched-replicate", false},
        {0, "ladder-top", true},   HELP_OPTION,
        VERSION_OPTION};
    CommandLine line = readToolCommandLine(argc, argv, rules);
    Options o;
    bool help = false, version = false;
    for (const GivenOption& given : line.options) {
        const std::string& name = rules[given.rule].longName;
        const std::string& value = given.value;
        if (name == "out") {
            if (value.empty()) failUsage("--out needs a directory");
            o.outDir = value;
        } else if (name == "seed") {
            o.seed = unsignedValue(given);
        } else if (name == "lanes") {
            o.lanes = (int)wholeValue(given, 1, 10000);
        } else if (name == "dyes") {
            o.dyes = (int)wholeValue(given, 1, 16);
        } else if (name == "marker-repeat") {
            o.markerRepeat = (int)wholeValue(given, 1, 10000);
        } else if (name == "method") {
            if (value != "linear" && value != "nonlinear")
                failUsage("--method must be linear or nonlinear, not '" + shownText(value) + "'");
            o.linear = value == "linear";
        } else if (name == "sizes" || name == "no-sizes") {
            o.sizes = name == "sizes";
        } else if (name == "row-length") {
            o.rowLength = (int)wholeValue(given, FEWEST_ROW_BYTES, 100000);
        } else if (name == "rows") {
            o.rows = (int)wholeValue(given, FEWEST_ROWS, 1000);
        } else if (name == "output-x") {
            o.outputX = (int)wholeValue(given, 1, 100000);
        } else if (name == "output-y") {
            o.outputY = (int)wholeValue(given, 1, 100000);
        } else if (name == "gel-number") {
            o.gelNumber = parseWord(given.name, value, true);
        } else if (name == "compression") {
            o.compression = parseWord(given.name, value, false);
        } else if (name == "username") {
            o.username = parseWord(given.name, value, false);
        } else if (name == "imagewidth") {
            o.imageWidth = (int)wholeValue(given, 1, 1000000);
        } else if (name == "true-replicates" || name == "mismatched-replicate") {
            o.trueReplicates = true;
            o.mismatchedReplicate = o.mismatchedReplicate || name == "mismatched-replicate";
        } else if (name == "ladder-top") {
            o.ladderTop = (int)wholeValue(given, 1000, MOST_LADDER_TOP);
        } else if (name == "help") {
            help = true;
        } else {
            version = true;
        }
    }
    if (help) printAndExit(usageText());
    if (version) printAndExit(versionLine("zeGenProject"));
    if (!line.operands.empty()) failUsage("unexpected argument '" + line.operands[0] + "'");
    if (o.outDir.empty()) failUsage("--out DIR is required");
    // The norm-fac reader interpolates every lane between two marker lanes,
    // so the last lane must be a marker lane too.
    if ((o.lanes - 1) % o.markerRepeat != 0)
        failUsage("lanes - 1 (" + std::to_string(o.lanes - 1) +
                  ") must be a multiple of --marker-repeat (" + std::to_string(o.markerRepeat) +
                  ") so that the last lane is a marker lane");
    if ((long long)o.lanes * o.dyes * o.rows * o.rowLength > (1LL << 32))
        failUsage("the traces would exceed 4 GiB");
    if (o.imageWidth == 0) o.imageWidth = o.rowLength;
    return o;
}

// ---------------------------------------------------------------- gel model

// The marker ladder: standard positions rising, fragment sizes falling.
struct Ladder {
    std::vector<int> norm;
    std::vector<int> size;
};

Ladder makeLadder(Rng& rng, int rowLength, int top) {
    // About 15 to 30 fragments, fewer on short rows so that the marker
    // bands stay well apart.
    int n = std::min(15 + rng.below(16), std::max(4, rowLength / 25));
    double lo = rng.uniform(50, 200), hi = rng.uniform(4400, 4550);
    if (top > 0) hi = top; // drawn all the same, so that the other draws stay
    double bend = rng.uniform(-0.15, 0.15);
    Ladder l;
    for (int i = 0; i < n; ++i) {
        double t = (double)i / (n - 1);
        if (i > 0 && i < n - 1) t += rng.uniform(-0.3, 0.3) / (n - 1);
        int s = (int)std::lround(lo + (hi - lo) * t);
        // Fragment sizes fall exponentially from about 20000 to 50 bases
        // along the standard scale, slightly bent.
        double u = (double)s / NORM_SCALE_LENGTH;
        double logSize =
            std::log(20000.0) + (std::log(50.0) - std::log(20000.0)) * (u + bend * u * (1 - u));
        int size = (int)std::lround(std::exp(logSize));
        if (!l.size.empty() && size >= l.size.back()) size = l.size.back() - 1;
        l.norm.push_back(s);
        l.size.push_back(size);
    }
    return l;
}

struct GelShape {
    int lanes = 1;
    double well = 0, nearEnd = 0, farEnd = 0; // gel units
    double curve = 0, smile = 0, tilt = 0;
    std::vector<double> laneShift; // gel units

    // The true gel position of standard position s on lane `lane`.
    double gelAt(int lane, double s) const {
        double u = s / NORM_SCALE_LENGTH;
        double x = lanes > 1 ? 2.0 * lane / (lanes - 1) - 1.0 : 0.0;
        double stretch = 1.0 - smile * x * x + tilt * x;
        double run = nearEnd + (farEnd - nearEnd) * (u + curve * u * (1 - u));
        return well + stretch * run + laneShift[lane];
    }

    // The standard position that lands at gel position g on `lane`
    // (gelAt rises with s), by bisection.
    double standardAt(int lane, double g) const {
        double lo = -NORM_SCALE_LENGTH, hi = 2.0 * NORM_SCALE_LENGTH;
        for (int i = 0; i < 100; ++i) {
            double mid = (lo + hi) / 2;
            (gelAt(lane, mid) < g ? lo : hi) = mid;
        }
        return (lo + hi) / 2;
    }
};

GelShape makeShape(Rng& rng, int lanes, int rowLength) {
    GelShape g;
    g.lanes = lanes;
    g.well = 0.01 * rowLength;
    g.nearEnd = rng.uniform(0.035, 0.05) * rowLength;
    g.farEnd = rng.uniform(0.86, 0.89) * rowLength;
    g.curve = rng.uniform(-0.2, 0.2);
    g.smile = rng.uniform(0.01, 0.03);
    g.tilt = rng.uniform(-0.005, 0.005);
    for (int l = 0; l < lanes; ++l)
        g.laneShift.push_back(rng.uniform(-0.8, 0.8));
    return g;
}

bool isMarkerLane(const Options& o, int lane) {
    return lane % o.markerRepeat == 0;
}

// The marker dye of a marker lane is its last dye.
bool isMarkerSample(const Options& o, int sample) {
    return isMarkerLane(o, sample / o.dyes) && sample % o.dyes == o.dyes - 1;
}

// Measured gel positions of the ladder on each marker lane (empty for the
// other lanes): the true positions plus a little measurement noise.
std::vector<std::vector<double>> measureMarkers(Rng& rng, const Options& o, const Ladder& ladder,
                                                const GelShape& shape) {
    std::vector<std::vector<double>> gel(o.lanes);
    for (int l = 0; l < o.lanes; ++l) {
        if (!isMarkerLane(o, l)) continue;
        for (int s : ladder.norm)
            gel[l].push_back(shape.gelAt(l, s) + rng.uniform(-0.2, 0.2));
    }
    return gel;
}

struct Band {
    double position; // gel units
    double height;   // peak height on the 16-bit trace
    double width;    // gel units
    int kind;
};

int bandKind(Rng& rng) {
    double r = rng.uniform();
    return r < 0.85 ? 1 : r < 0.95 ? 2 : 3;
}

double bandWidth(Rng& rng, int rowLength) {
    return std::max(1.0, rng.uniform(1.5, 3.0) * rowLength / 1500.0);
}

std::vector<Band> markerBands(Rng& rng, const std::vector<double>& gel, int rowLength) {
    std::vector<Band> bands;
    for (double g : gel)
        bands.push_back({g, rng.uniform(6000, 14000), bandWidth(rng, rowLength), 1});
    return bands;
}

std::vector<Band> cloneBands(Rng& rng, double low, double high, int rowLength, bool empty) {
    std::vector<Band> bands;
    double range = high - low;
    int wanted = empty ? rng.below(4) : 15 + rng.below(26);
    wanted = std::min(wanted, (int)(range / 10));
    double minGap = 3.0 * rowLength / 1500.0;
    for (int tries = 0; (int)bands.size() < wanted && tries < 50 * wanted; ++tries) {
        double p = rng.uniform(low, high);
        bool clash = false;
        for (const Band& b : bands)
            clash = clash || std::fabs(b.position - p) < minGap;
        if (clash) continue;
        double h = empty ? rng.uniform(600, 1500) : rng.uniform(1500, 20000);
        bands.push_back({p, h, bandWidth(rng, rowLength), bandKind(rng)});
    }
    // A few just beyond either end: some inside the half percent that the
    // step still accepts, some outside it.
    if (!empty && rng.chance(0.35))
        bands.push_back({low - range * rng.uniform(0.001, 0.025), rng.uniform(1500, 8000),
                         bandWidth(rng, rowLength), bandKind(rng)});
    if (!empty && rng.chance(0.35))
        bands.push_back({high + range * rng.uniform(0.001, 0.025), rng.uniform(1500, 8000),
                         bandWidth(rng, rowLength), bandKind(rng)});
    std::sort(bands.begin(), bands.end(),
              [](const Band& a, const Band& b) { return a.position < b.position; });
    return bands;
}

// ---------------------------------------------------------------- samples

enum class Naming { Marker, Empty, Named, Unnamed, Duplicate };

struct Sample {
    Naming naming = Naming::Named;
    std::string clone, digest;
    int copyOf = -1; // a duplicate: the sample whose names it repeats
    std::vector<Band> bands;
};

std::string cloneName(Rng& rng, const std::string& library) {
    char buf[64];
    int plate = 1 + rng.below(400);
    char row = (char)('A' + rng.below(16));
    int col = 1 + rng.below(24);
    // Now and then a name as typed on the bench, with a blank or a slash.
    int style = rng.below(12);
    const char* fmt = style == 0 ? "%s%03d %c%02d" : style == 1 ? "%s%03d/%c%02d" : "%s%03d%c%02d";
    snprintf(buf, sizeof buf, fmt, library.c_str(), plate, row, col);
    return buf;
}

// Chooses which clone samples are empty, unnamed or duplicates, and names
// the rest. Every gel with enough clones gets at least one unnamed and one
// duplicate sample.
void nameSamples(Rng& rng, const Options& o, std::vector<Sample>& samples) {
    static const char* digests[] = {"HindIII", "EcoRI", "BamHI"};
    std::string digest = digests[rng.below(3)];
    std::string library =
        std::string("b") + (char)('A' + rng.below(26)) + (char)('A' + rng.below(26));

    std::vector<int> clones;
    for (int s = 0; s < (int)samples.size(); ++s) {
        if (isMarkerSample(o, s))
            samples[s].naming = Naming::Marker;
        else
            clones.push_back(s);
    }
    // Candidates skip the first clone so that a duplicate always has an
    // earlier sample to copy.
    std::vector<int> candidates(clones.begin() + std::min<size_t>(1, clones.size()), clones.end());
    for (size_t i = 0; i < candidates.size(); ++i)
        std::swap(candidates[i], candidates[i + rng.below((int)(candidates.size() - i))]);
    size_t n = clones.size();
    size_t unnamed = n >= 4 ? std::max<size_t>(1, n / 9) : 0;
    size_t duplicates = n >= 4 ? std::max<size_t>(1, n / 9) : 0;
    size_t empty = n / 20;
    size_t k = 0;
    for (size_t i = 0; i < unnamed && k < candidates.size(); ++i)
        samples[candidates[k++]].naming = Naming::Unnamed;
    for (size_t i = 0; i < duplicates && k < candidates.size(); ++i)
        samples[candidates[k++]].naming = Naming::Duplicate;
    for (size_t i = 0; i < empty && k < candidates.size(); ++i)
        samples[candidates[k++]].naming = Naming::Empty;

    std::vector<int> named; // samples with a name of their own, in order
    for (int s : clones) {
        Sample& smp = samples[s];
        if (smp.naming == Naming::Duplicate && named.empty()) smp.naming = Naming::Named;
        if (smp.naming == Naming::Named) {
            smp.clone = cloneName(rng, library);
            smp.digest = digest;
            named.push_back(s);
        } else if (smp.naming == Naming::Duplicate) {
            smp.copyOf = named[rng.below((int)named.size())];
            const Sample& from = samples[smp.copyOf];
            smp.clone = from.clone;
            smp.digest = from.digest;
        }
    }
}

// The calibrated gel range of a lane, as the step will see it (roughly,
// for the lanes between markers).
void laneRange(const Options& o, const Ladder& ladder, const GelShape& shape,
               const std::vector<std::vector<double>>& markerGel, int lane, double& low,
               double& high) {
    if (isMarkerLane(o, lane)) {
        low = markerGel[lane].front();
        high = markerGel[lane].back();
    } else {
        low = shape.gelAt(lane, ladder.norm.front());
        high = shape.gelAt(lane, ladder.norm.back());
    }
}

// Gives every duplicate the fragments of the sample it copies: the same
// standard positions, placed through its own lane's shape, plus the
// measurement noise of the marker bands. Heights, widths and kinds stay.
// Each duplicate draws its noise from a stream of its own, so that the
// mismatched copy leaves the others as they are.
void makeReplicates(uint64_t seed, const Options& o, const GelShape& shape,
                    std::vector<Sample>& samples) {
    bool mismatchLeft = o.mismatchedReplicate;
    for (size_t s = 0; s < samples.size(); ++s) {
        Sample& smp = samples[s];
        if (smp.copyOf < 0) continue;
        if (mismatchLeft) {
            mismatchLeft = false;
            continue;
        }
        Rng rng = streamFor(seed + s, REPLICATES);
        int fromLane = smp.copyOf / o.dyes, lane = (int)s / o.dyes;
        smp.bands = samples[smp.copyOf].bands;
        for (Band& b : smp.bands)
            b.position = shape.gelAt(lane, shape.standardAt(fromLane, b.position)) +
                         rng.uniform(-0.2, 0.2);
    }
    if (mismatchLeft) fail("--mismatched-replicate needs a gel with a duplicate sample");
}

// ---------------------------------------------------------------- writers

// The project's file `name` in the output directory.
CheckedOutput projectFile(const Options& o, const char* name) {
    return toolFile(o.outDir + "/" + name);
}

void writeInfo(const Options& o) {
    CheckedOutput f = projectFile(o, "info");
    f.writef("VERSION 1.0\nINFO\n");
    // Keys whose value is read as a word and not followed by a line skip
    // (gelnumber, standardfile, compression, lockdirection, normmethod,
    // dyenumber, zonenumber) keep their value as the last word of the line.
    f.writef("imageformat = hi\n");
    f.writef("geltype = %s\n", o.dyes > 1 ? "ABI" : "ARG");
    f.writef("imagewidth = %d\n", o.imageWidth);
    f.writef("imageheight = %d\n", o.lanes * o.rows);
    f.writef("outputxsize = %d\n", o.outputX);
    f.writef("outputysize = %d\n", o.outputY);
    f.writef("lanenumber = %d\n", o.lanes);
    f.writef("dyenumber = %d\n", o.dyes);
    f.writef("markerrepeat = %d\n", o.markerRepeat);
    f.writef("normmethod = %s\n", o.linear ? "linear" : "nonlinear");
    f.writef("gelnumber = %s\n", o.gelNumber.c_str());
    f.writef("compression = %s\n", o.compression.c_str());
    f.writef("username = %s\n", o.username.c_str());
    f.writef("standardfile = ladder.std\n");
    f.writef("zonenumber = 0\n");
    f.writef("lockdirection = fromleft\n");
    f.writef("bandheightmodel = random\n");
    f.writef("maxcontig = 3\n");
    f.writef("componentorder = 1,2,3,4\n");
    f.finish();
}

void writeNormFac(const Options& o, const Ladder& ladder,
                  const std::vector<std::vector<double>>& markerGel) {
    CheckedOutput f = projectFile(o, "norm-fac");
    f.writef("NORMFACTORS\n");
    // Pairs rise in both standard and gel position, as the linear method
    // needs; the spline method accepts them the same way.
    for (int l = 0; l < o.lanes; l += o.markerRepeat) {
        f.writef("%d\n", (int)ladder.norm.size());
        for (size_t i = 0; i < ladder.norm.size(); ++i) {
            if (o.sizes)
                f.writef("%d %d %.2f %d\n", l * o.dyes, ladder.norm[i], markerGel[l][i],
                         ladder.size[i]);
            else
                f.writef("%d %d %.2f\n", l * o.dyes, ladder.norm[i], markerGel[l][i]);
        }
    }
    f.finish();
}

void writeRawBands(const Options& o, const std::vector<Sample>& samples) {
    CheckedOutput f = projectFile(o, "raw-bands");
    f.writef("BANDS sample position height width kind\n");
    for (size_t s = 0; s < samples.size(); ++s)
        for (const Band& b : samples[s].bands)
            f.writef("%d %.2f %.1f %.2f %d\n", (int)s, b.position, b.height, b.width, b.kind);
    f.finish();
}

void writeNames(const Options& o, const std::vector<Sample>& samples) {
    CheckedOutput f = projectFile(o, "names");
    f.writef("NAMES\n");
    // After the status word the reader drops one character (the opening
    // quote) and the last character of the line (the closing quote); an
    // entry of two quotes therefore leaves nothing: an unnamed sample.
    for (size_t s = 0; s < samples.size(); ++s) {
        const Sample& smp = samples[s];
        int lane = (int)s / o.dyes;
        switch (smp.naming) {
        case Naming::Marker:
            f.writef("%d - \"marker\" \"ladder\"\n", lane);
            break;
        case Naming::Empty:
            f.writef("%d - \"\"\n", lane);
            break;
        case Naming::Unnamed:
            f.writef("%d + \"\"\n", lane);
            break;
        case Naming::Named:
        case Naming::Duplicate:
            f.writef("%d + \"%s\" \"%s\"\n", lane, smp.clone.c_str(), smp.digest.c_str());
            break;
        }
    }
    f.finish();
}

unsigned char clampByte(double v) {
    return (unsigned char)std::min(255.0, std::max(0.0, std::floor(v + 0.5)));
}

// One sample's strip: row 0 and the last row are the low and high byte of
// the 16-bit trace, the rows between them an 8-bit picture across the lane,
// brightest in the middle.
void renderSample(Rng& rng, const Options& o, const Sample& smp, std::vector<double>& intensity,
                  std::vector<unsigned char>& strip) {
    int len = o.rowLength;
    double background = rng.uniform(300, 700);
    for (int g = 0; g < len; ++g)
        intensity[g] = background * (1.5 - 0.5 * g / len);
    for (const Band& b : smp.bands) {
        int from = std::max(0, (int)std::floor(b.position - 8 * b.width));
        int to = std::min(len - 1, (int)std::ceil(b.position + 8 * b.width));
        for (int g = from; g <= to; ++g) {
            double d = (g - b.position) / b.width;
            double k = 1.0 + d * d;
            intensity[g] += b.height / (k * k);
        }
    }
    unsigned char* low = &strip[0];
    unsigned char* high = &strip[(size_t)(o.rows - 1) * len];
    for (int g = 0; g < len; ++g) {
        double v = std::floor(intensity[g] + 60.0 * rng.gaussian() + 0.5);
        int t = (int)std::min((double)MAX_TRACE_VALUE, std::max(0.0, v));
        intensity[g] = t;
        low[g] = (unsigned char)(t & 0xFF);
        high[g] = (unsigned char)(t >> 8);
    }
    double centre = (o.rows - 1) / 2.0;
    for (int r = 1; r < o.rows - 1; ++r) {
        double x = (r - centre) / centre;
        double across = 1.0 - 0.55 * x * x;
        unsigned char* row = &strip[(size_t)r * len];
        for (int g = 0; g < len; ++g)
            row[g] = clampByte(intensity[g] * across / 80.0 + 2.5 * rng.gaussian());
    }
}

void writeTraces(const Options& o, const std::vector<Sample>& samples, Rng& rng) {
    CheckedOutput f = projectFile(o, "traces");
    // The reader takes a word and a number twice, then drops two whole
    // lines; the body starts right after the second line end.
    size_t body = samples.size() * (size_t)o.rows * o.rowLength;
    f.writef("WIDTH %d\nROWS %d\n", o.rowLength, o.rows);
    f.writef("SAMPLES %d DYES %d\n", (int)samples.size(), o.dyes);
    f.writef("BODY %zu bytes\n", body);
    std::vector<double> intensity(o.rowLength);
    std::vector<unsigned char> strip((size_t)o.rows * o.rowLength);
    for (const Sample& smp : samples) {
        renderSample(rng, o, smp, intensity, strip);
        f.write(strip.data(), strip.size());
    }
    f.finish();
}

} // namespace

int main(int argc, char** argv) {
    setUsageProgram("zeGenProject");
    Options o = parseOptions(argc, argv);

    Rng ladderRng = streamFor(o.seed, LADDER);
    Rng shapeRng = streamFor(o.seed, SHAPE);
    Rng markerRng = streamFor(o.seed, MARKERS);
    Rng bandRng = streamFor(o.seed, BANDS);
    Rng traceRng = streamFor(o.seed, TRACES);
    Rng nameRng = streamFor(o.seed, NAMES);

    Ladder ladder = makeLadder(ladderRng, o.rowLength, o.ladderTop);
    GelShape shape = makeShape(shapeRng, o.lanes, o.rowLength);
    std::vector<std::vector<double>> markerGel = measureMarkers(markerRng, o, ladder, shape);

    std::vector<Sample> samples((size_t)o.lanes * o.dyes);
    nameSamples(nameRng, o, samples);
    for (size_t s = 0; s < samples.size(); ++s) {
        int lane = (int)s / o.dyes;
        Sample& smp = samples[s];
        if (smp.naming == Naming::Marker) {
            smp.bands = markerBands(bandRng, markerGel[lane], o.rowLength);
        } else {
            double low, high;
            laneRange(o, ladder, shape, markerGel, lane, low, high);
            smp.bands = cloneBands(bandRng, low, high, o.rowLength, smp.naming == Naming::Empty);
        }
    }
    if (o.trueReplicates) makeReplicates(o.seed, o, shape, samples);

    makeDirectories(o.outDir);
    writeInfo(o);
    writeNormFac(o, ladder, markerGel);
    writeRawBands(o, samples);
    writeNames(o, samples);
    writeTraces(o, samples, traceRng);
    return 0;
}
