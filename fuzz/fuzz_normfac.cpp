// The norm-fac file parsed into its pairs and the factors built from them
// with every spline checked: the first bytes choose the gel (lanes, marker
// distance, dyes, method), the rest is the file. The factors are then used
// as the step uses them: bands normalised, standard positions mapped back,
// and a lane trace resampled. None of it may end the process (a spline that
// cannot be evaluated must have been refused before it was built): an exit
// would reach the harness's exit handler, whose exception nothing here
// catches, and crash.
#include "fuzzSupport.h"
#include "zeNormFac.h"
#include "zeNormFacBuild.h"
#include "zeNormFacFile.h"
#include "zeNormTrace.h"

namespace {

const int TRACE_LENGTH = 300;

void useFactors(NormFac& fac, const unsigned char* bytes, const short* values) {
    static const float probes[] = {-1e30f, -1, 0, 0.5f, 1, 150, 299, 300, 1e6f, 1e30f};
    for (float g : probes) {
        (void)fac.normaliseBand(g);
        (void)fac.normToGel(g);
    }
    (void)fac.normaliseBand((float)fac.gelLow);
    (void)fac.normaliseBand((float)fac.gelHigh);
    float out[NORM_SCALE_LENGTH];
    normTrace(const_cast<unsigned char*>(bytes), out, TRACE_LENGTH, fac);
    normTrace(const_cast<short*>(values), out, TRACE_LENGTH, fac);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    InputCursor in(data, size);
    int markerStep = 1 + in.takeByte() % 4;
    int markerLanes = 1 + in.takeByte() % 3;
    int laneCount = (markerLanes - 1) * markerStep + 1;
    int dyes = 1 + in.takeByte() % 3;
    uint8_t flags = in.takeByte();
    bool linear = flags & 1;
    // Bit 1 is unused: the checked build writes no debugging lines.
    // Now and then geometry the reader must refuse.
    if (flags & 4) markerStep = (flags & 8) ? 0 : markerStep + 1;

    std::string path = scratchDir() + "/norm-fac";
    writeFile(path, in.rest(), in.restSize());

    static unsigned char bytes[TRACE_LENGTH];
    static short values[TRACE_LENGTH];
    for (int i = 0; i < TRACE_LENGTH; i++) {
        bytes[i] = (unsigned char)(i * 7);
        values[i] = (short)(i * 211 - 30000);
    }
    std::vector<NormFacBlock> blocks;
    std::string error;
    dp_Array<NormFac> normFacs(0, laneCount - 1);
    dp_Array<NormFac> sizeFacs(0, laneCount - 1);
    bool haveSizes = false;
    if (!readNormFacFile(dbString(path.c_str()), laneCount, markerStep, dyes, blocks, error) ||
        !buildNormFacs(blocks, laneCount, markerStep, linear, haveSizes, normFacs, sizeFacs,
                       error)) {
        if (error.empty()) fuzzFail("a refused file without a message");
        return 0;
    }
    for (int l = 0; l < laneCount; l++) {
        useFactors(normFacs(l), bytes, values);
        if (haveSizes) useFactors(sizeFacs(l), bytes, values);
    }
    return 0;
}
