// The raw bands reader: the first byte chooses how many samples the gel has,
// the rest is the file.
#include "fuzzSupport.h"
#include "zeRBLoad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    InputCursor in(data, size);
    int samples = 1 + in.takeByte() % 16;
    std::string path = scratchDir() + "/raw-bands";
    writeFile(path, in.rest(), in.restSize());
    dp_Array<dp_Accum<RawBand> > bands;
    std::string error;
    if (!readRawBandsFile(path.c_str(), samples, bands, error)) {
        if (error.empty()) fuzzFail("a refused file without a message");
        return 0;
    }
    // Every stored record must sit in the accumulator of its sample.
    for (int s = 0; s < samples; s++)
        for (int i = 0; i < bands(s).nelem(); i++)
            if (bands(s)(i).lane != s) fuzzFail("raw band stored under another sample");
    return 0;
}
