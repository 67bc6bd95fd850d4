// zeCompare's command line: the input is its arguments, separated by NUL
// bytes (at most 24 of them), read as main reads argv.
#include <string>

#include "fuzzSupport.h"
#include "zeCompareOptions.h"
#include "zeCores.h"
#include "zeSulston.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    FuzzCommandLine line("zeCompare", data, size);
    CompareOptions o;
    std::string error;
    if (!readCompareOptions(line.argc(), line.argv(), o, error)) {
        expectUsageHint(error, "zeCompare");
        return 0;
    }
    if (o.help || o.version) return 0;
    if (o.files.empty()) fuzzFail("no bands file, accepted");
    if (o.tolerance < 1 || o.tolerance > MAX_TOLERANCE) fuzzFail("a tolerance out of range");
    if (!(o.cutoff >= 0)) fuzzFail("a cutoff below 0 or not a number");
    if (o.threads < 1 || o.threads > MAX_THREADS) fuzzFail("threads out of range");
    if (o.parts < 1 || o.part < 1 || o.part > o.parts) fuzzFail("a part out of its slices");
    if (o.partGiven && !o.html.empty()) fuzzFail("--part with --html, accepted");
    if (o.html.find('\0') != std::string::npos) fuzzFail("a file name with a NUL");
    return 0;
}
