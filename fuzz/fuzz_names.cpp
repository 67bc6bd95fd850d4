// The names file and the outputs it selects: the first bytes choose the gel
// (lanes, dyes, method, sizes), the rest is the names file, read whole by
// the project's reader, which must return, never end the process. The step
// data around it is what a step would hold after reading a small, sound
// project: factors from a fixed calibration and a few raw bands per sample.
// The bands and size files of the named samples go to the scratch directory.
#include <cmath>
#include <cstring>

#include "fuzzSupport.h"
#include "zeSampleNames.h"
#include "zeStep.h"

namespace {

void calibrate(NormFac& fac, bool nonlinear, float shift, bool sizes) {
    static const float gel[] = {12, 40, 75, 120, 160, 190};
    static const float norm[] = {100, 900, 1800, 2900, 3900, 4500};
    static const float size[] = {20000, 9000, 4000, 1500, 600, 100};
    dp_Accum<Coords> pairs;
    for (int i = 0; i < 6; i++) {
        Coords c;
        c.gel = gel[i] + shift;
        c.norm = sizes ? (float)log((double)size[i]) : norm[i];
        pairs.append(c);
    }
    fac.nonlinear = sizes ? true : nonlinear;
    fac.initFrom(pairs);
}

void prepare(StepData& d, InputCursor& in) {
    uint8_t geometry = in.takeByte();
    uint8_t flags = in.takeByte();
    d.project.lanenumber = 1 + geometry % 6;
    d.project.dyenumber = 1 + (geometry / 6) % 3;
    d.project.gelnumber = "7";
    d.samples = d.project.lanenumber * d.project.dyenumber;
    // Bits 0 to 3 are unused.
    d.haveSizes = flags & 0x10;

    d.normFacs.resize(0, d.project.lanenumber - 1);
    d.sizeFacs.resize(0, d.project.lanenumber - 1);
    for (int l = 0; l < d.project.lanenumber; l++) {
        calibrate(d.normFacs(l), flags & 0x20, (float)l, false);
        calibrate(d.sizeFacs(l), true, (float)l, true);
    }

    d.rawBands.resize(0, d.samples - 1);
    for (int s = 0; s < d.samples; s++) {
        for (int b = 0; b < 4; b++) {
            RawBand band = {s, 10.0f + 50 * b + s, 1, 1, 1 + (b == 3)};
            d.rawBands(s).append(band);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    InputCursor in(data, size);
    StepData d;
    prepare(d, in);
    const std::string& dir = scratchDir();
    d.projectDir = dir.c_str();
    d.namesPath = (dir + "/names").c_str();
    d.bandFileName = (dir + "/7.bands").c_str();
    d.sizeFileName = (dir + "/7.sizes").c_str();
    writeFile(d.namesPath.c_str(), in.rest(), in.restSize());
    std::string error;
    if (!readSampleNames(d.namesPath.c_str(), d.samples, d, error)) {
        if (error.find(d.namesPath.c_str()) == std::string::npos)
            fuzzFail("a refusal that does not name the file");
        return 0;
    }
    for (int s = 0; s < d.samples; s++) {
        if (d.cloneNames(s).empty()) continue;
        if (strchr(d.cloneNames(s).c_str(), '/') || strchr(d.digestNames(s).c_str(), '/'))
            fuzzFail("a name keeps a '/', so a result file could leave Results");
        if (d.copyNumbers(s) < 0 || d.copyNumbers(s) >= d.samples)
            fuzzFail("copy number out of range");
    }
    if (d.haveSizes)
        d.sizeFile = CheckedOutput::file(d.sizeFileName.c_str(), OnWriteFailure::EndProcess);
    emitBands(d);
    if (d.haveSizes) d.sizeFile.finish();
    return 0;
}
