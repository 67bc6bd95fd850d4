// The traces reader: the first byte chooses how many samples the gel has,
// the rest is the file. Every row and trace the reader hands out is then
// read end to end, so a row that points outside its buffer shows up.
#include "fuzzSupport.h"
#include "zeStep.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    InputCursor in(data, size);
    StepData d;
    d.samples = 1 + in.takeByte() % 8;
    d.tracesPath = (scratchDir() + "/traces").c_str();
    writeFile(d.tracesPath.c_str(), in.rest(), in.restSize());
    try {
        if (!readTraces(d)) return 0;
        if (d.rowLength < 1 || d.rowCount < 1) fuzzFail("traces accepted with an empty geometry");
        unsigned sum = 0;
        for (int s = 0; s < d.samples; s++) {
            for (int r = 0; r < d.rowCount; r++) {
                const unsigned char* row = d.laneRows(s, r);
                sum += row[0] + row[d.rowLength - 1];
            }
            const short* trace = d.laneTraces(s);
            sum += (unsigned)trace[0] + (unsigned)trace[d.rowLength - 1];
        }
        if (sum == 0xdeadbeef) fuzzFail("unreachable");
    } catch (const FuzzExit&) {
    }
    return 0;
}
