// zeContig's command line: the input is its arguments, separated by NUL
// bytes (at most 24 of them), read as main reads argv.
#include <string>

#include "fuzzSupport.h"
#include "zeContigOptions.h"
#include "zeCores.h"
#include "zeSulston.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    FuzzCommandLine line("zeContig", data, size);
    ContigOptions o;
    std::string error;
    if (!readContigOptions(line.argc(), line.argv(), o, error)) {
        expectUsageHint(error, "zeContig");
        return 0;
    }
    if (o.help || o.version) return 0;
    if (o.files.empty()) fuzzFail("no bands file, accepted");
    if (o.map.tolerance < 1 || o.map.tolerance > MAX_TOLERANCE) fuzzFail("a tolerance out of range");
    if (!(o.map.cutoff > 0)) fuzzFail("a cutoff not above 0");
    if (o.map.threads < 1 || o.map.threads > MAX_THREADS) fuzzFail("threads out of range");
    if (o.mtpShared < 1) fuzzFail("a tiling overlap below 1");
    if (!(o.map.markerCutoff > 0 && o.map.markerCutoff <= 1e-3)) fuzzFail("a marker cutoff out of range");
    for (const std::string* file : {&o.output, &o.mtp, &o.gff, &o.previous, &o.html, &o.markers})
        if (file->find('\0') != std::string::npos) fuzzFail("a file name with a NUL");
    return 0;
}
