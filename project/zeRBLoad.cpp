#include "zeRBLoad.h"

#include <fstream>
#include <istream>

#include "zeInfo.h"
#include "zeMystring.h"

bool loadRawBands(const char* path, dp_Array<dp_Accum<RawBand>>& bands) {
    std::ifstream in(path);
    if (!in) return false;

    dbString word;
    in >> word;
    in >> std::ws;
    if (word != "BANDS") return false;
    // The rest of the header line is free text; it must end with a line end.
    dbString rest;
    if (!readLine(in, rest)) return false;

    while (in.good()) {
        RawBand b;
        if (!(in >> b.lane >> b.position >> b.value1 >> b.value2 >> b.kind)) break;
        // A sample index the gel does not have has no accumulator; such a
        // record is skipped so that the bands of every real sample still load.
        if (b.lane < bands.low() || b.lane > bands.high()) continue;
        bands(b.lane).append(b);
    }
    return true;
}

bool readRawBandsFile(const char* path, int samples, dp_Array<dp_Accum<RawBand> >& bands,
                      std::string& error) {
    bands.resize(0, samples - 1);
    if (loadRawBands(path, bands)) return true;
    error = "loading raw-bands";
    return false;
}
