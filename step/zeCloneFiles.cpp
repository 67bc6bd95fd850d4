// Per-clone results: for every named sample a band table, its 16-bit trace
// as an ICS image and a PPM picture of its lane strip, which the project's
// compression command then takes over.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "ics.h"
#include "zeGelStrip.h"
#include "zeNormTrace.h"
#include "zeShell.h"
#include "zeStep.h"
#include "zeTruncate.h"

namespace {

// A stdio file closed when it goes out of scope, unless closed before.
class OutFile {
  public:
    explicit OutFile(const char* path) : f(fopen(path, "w")) {}
    ~OutFile() { close(); }
    OutFile(const OutFile&) = delete;
    OutFile& operator=(const OutFile&) = delete;
    FILE* get() const { return f; }
    void close() {
        if (f) fclose(f);
        f = nullptr;
    }

  private:
    FILE* f;
};

dbString baseName(const StepData& d, int s) {
    return d.resultsDir + "/" + d.cloneNames(s) + "." + d.digestNames(s) + "." +
           intTodbString(d.copyNumbers(s));
}

// The 16-bit trace on the standard scale: 4600 signed samples, each the
// resampled value truncated toward zero and cut to its low 16 bits. The
// trace holds rowLength values, so that is the length resampling may read.
void writeIcsTrace(StepData& d, int s, const dbString& base) {
    float* resampled = d.normBuf.getData();
    short* samples = d.shortBuf.getData();
    normTrace(d.laneTraces(s), resampled, d.rowLength, d.normFacs(s / d.project.dyenumber));
    for (int p = 0; p < NORM_SCALE_LENGTH; p++)
        samples[p] = (short)(unsigned short)(truncToInt(resampled[p]) & 0xffff);

    long origin[2] = {0, 0};
    long sizes[2] = {NORM_SCALE_LENGTH, 0};
    ICS ics;
    fill_ics(1, origin, sizes, 16, &ics);
    // A sample whose image files cannot be written still gets its others.
    (void)write_ics(base, &ics);
    (void)write_ids(base, reinterpret_cast<char*>(samples), NORM_SCALE_LENGTH * (int)sizeof(short));
}

// One line per accepted kind-1 band, in stored order: standard position
// and fragment size.
void writeBandTable(FILE* table, StepData& d, int s) {
    int lane = s / d.project.dyenumber;
    NormFac& norm = d.normFacs(lane);
    NormFac& size = d.sizeFacs(lane);
    dp_Accum<RawBand>& bands = d.rawBands(s);
    for (int i = 0; i < bands.nelem(); i++) {
        const RawBand& b = bands(i);
        if (b.kind != 1) continue;
        float m = norm.normaliseBand(b.position);
        float z = size.normaliseBand(b.position);
        // Comparisons with NaN fail, so a NaN position or log size drops the band.
        if (!(m >= 0 && z >= 0)) continue;
        float fragmentSize = (float)std::exp((double)z);
        fprintf(table, "%9.2f %9d\n", m, truncToInt(fragmentSize));
    }
}

// Header, then the drawn interior rows, each resampled onto the standard
// scale; the height declared is the number of rows drawn.
void writeGelStrip(FILE* ppm, StepData& d, int s, StripRowWriter& rows) {
    const ProjInfo& p = d.project;
    int height = stripHeight(p.outputysize, d.rowCount);
    fprintf(ppm, "P6\n%d %d\n255\n", stripWidth(p.outputxsize), height);
    if (height == 0) return;
    int interiorRows = d.rowCount - 2;
    float* resampled = d.normBuf.getData();
    NormFac& fac = d.normFacs(s / p.dyenumber);
    for (int r = 1; r <= interiorRows; r++) {
        if (!stripRowDrawn(r, interiorRows, p.outputysize)) continue;
        normTrace(d.laneRows(s, r), resampled, d.rowLength, fac);
        rows.writeRow(ppm, resampled);
    }
}

// The path is quoted for the shell when it needs it, so no clone name can
// make the shell do more than run the compression program on the picture.
void compress(const StepData& d, const dbString& ppmPath) {
    dbString command = d.project.compression + " " + shellQuote(ppmPath.c_str());
    std::cout << command << std::endl;
    int ignored = system(command.c_str());
    (void)ignored;
}

}  // namespace

bool emitCloneFiles(StepData& d) {
    StripRowWriter rows(d.project.outputxsize);
    for (int s = 0; s < d.samples; s++) {
        if (d.cloneNames(s).empty()) continue;
        dbString base = baseName(d, s);
        dbString tablePath = base + ".bands";
        dbString ppmPath = base + ".ppm";

        OutFile table(tablePath.c_str());
        if (!table.get()) {
            std::cerr << "ERROR: opening bands/sizes file: " << tablePath << std::endl;
            return false;
        }
        OutFile ppm(ppmPath.c_str());
        if (!ppm.get()) {
            std::cerr << "ERROR: opening ppm file" << std::endl;
            return false;
        }

        writeIcsTrace(d, s, base);
        writeBandTable(table.get(), d, s);
        writeGelStrip(ppm.get(), d, s, rows);

        // The command must find both files complete.
        ppm.close();
        table.close();
        compress(d, ppmPath);
    }
    return true;
}
