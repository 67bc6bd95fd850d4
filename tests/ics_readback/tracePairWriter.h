// Writes a trace as the step does (header and data file from one base
// name), without exposing the writer's record to code that uses libics.
#ifndef ZE_TRACE_PAIR_WRITER_H
#define ZE_TRACE_PAIR_WRITER_H

#include <string>
#include <vector>

struct TracePairResult {
    int header; // write_ics result
    int data;   // write_ids result
};

TracePairResult writeTracePair(const std::string& base, const std::vector<short>& trace);

#endif
