#include "tracePairWriter.h"

#include "ics.h"

TracePairResult writeTracePair(const std::string& base, const std::vector<short>& trace) {
    long origin[2] = {0, 0};
    long sizes[2] = {(long)trace.size(), 0};
    ICS ics;
    fill_ics(1, origin, sizes, 16, &ics);
    std::vector<char> name(base.begin(), base.end());
    name.push_back('\0');
    std::vector<short> samples(trace);
    TracePairResult result;
    result.header = write_ics(name.data(), &ics);
    result.data = write_ids(name.data(), reinterpret_cast<char*>(samples.data()),
                            (int)(samples.size() * sizeof(short)));
    return result;
}
