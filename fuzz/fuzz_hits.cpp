// The marker hits file of zeContig --markers and zePlace --chromosomes:
// the whole input is the file.
#include <string>

#include "fuzzSupport.h"
#include "zeHitsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<HitLine> hits;
    std::string error;
    if (!parseHitsFile(text, "input", hits, error)) {
        expectRefusalNames(error, "input");
        return 0;
    }
    long last = 1;
    for (const HitLine& h : hits) {
        if (h.clone.empty() || h.marker.empty()) fuzzFail("a hit without its clone or marker");
        if (h.clone.find_first_of(" \t\r\n") != std::string::npos ||
            h.marker.find_first_of(" \t\r\n") != std::string::npos)
            fuzzFail("a clone or marker holding a blank or a line end");
        if (h.line <= last) fuzzFail("hit lines not after the header, in order");
        if (h.repeats < 0 || h.repeats >= h.line) fuzzFail("a repeat pointing at no earlier line");
        if (h.repeats > 0) {
            bool found = false;
            for (const HitLine& earlier : hits)
                if (earlier.line == h.repeats)
                    found = earlier.clone == h.clone && earlier.marker == h.marker;
            if (!found) fuzzFail("a repeat pointing at another hit");
        }
        last = h.line;
    }
    return 0;
}
