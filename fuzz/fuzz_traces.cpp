// The traces reader: the first byte chooses how many samples the gel has,
// the rest is the file. Every row and trace the reader hands out is then
// read end to end, so a row that points outside its buffer shows up.
#include "fuzzSupport.h"
#include "zeTraces.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    InputCursor in(data, size);
    int samples = 1 + in.takeByte() % 8;
    std::string path = scratchDir() + "/traces";
    writeFile(path, in.rest(), in.restSize());
    GelTraces t;
    std::string error;
    if (!readTraceFile(path.c_str(), samples, t, error)) {
        if (error.find(path) == std::string::npos) fuzzFail("a refusal that does not name the file");
        return 0;
    }
    if (t.rowLength < 1 || t.rowCount < 1) fuzzFail("traces accepted with an empty geometry");
    unsigned sum = 0;
    for (int s = 0; s < samples; s++) {
        for (int r = 0; r < t.rowCount; r++) {
            const unsigned char* row = t.laneRows(s, r);
            sum += row[0] + row[t.rowLength - 1];
        }
        const short* trace = t.laneTraces(s);
        sum += (unsigned)trace[0] + (unsigned)trace[t.rowLength - 1];
    }
    if (sum == 0xdeadbeef) fuzzFail("unreachable");
    return 0;
}
