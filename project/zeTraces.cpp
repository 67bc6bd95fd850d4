#include "zeTraces.h"

#include <cstring>
#include <fstream>
#include <new>

#include "zeInfo.h"

namespace {

// A lane is at most this many positions long; a real scan has a few
// thousand. Resampling a row costs time and scratch memory in proportion.
const int MAX_ROW_LENGTH = 100000;
// 1 GiB: far above any real gel (a few hundred samples of some tens of rows
// of a few thousand bytes), well within an ordinary machine.
const long long MAX_TRACE_MEMORY = 1LL << 30;
const char TOO_LARGE[] = " is too large to hold in memory";

// Header: word, rowLength, word, rowCount, then two lines that are discarded.
// Blank lines before the two discarded lines are passed over.
bool readTraceHeader(std::istream& in, int& rowLength, int& rowCount) {
    dbString word;
    in >> word;
    in >> rowLength;
    in >> std::ws;
    in >> word;
    in >> rowCount;
    if (in.fail()) return false;
    in >> std::ws;
    dbString discarded;
    readLine(in, discarded);
    readLine(in, discarded);
    return true;
}

bool badTraceFile(const char* before, const char* path, const std::string& after,
                  std::string& error) {
    error = std::string(before) + "trace file '" + path + "'" + after;
    return false;
}

} // namespace

bool readTraceFile(const char* path, int samples, GelTraces& t, std::string& error) {
    std::ifstream in(path, std::ios::in | std::ios::binary);
    if (!in) return badTraceFile("couldn't open ", path, "", error);

    int rowLength = 0, rowCount = 0;
    if (!readTraceHeader(in, rowLength, rowCount))
        return badTraceFile("couldn't read the header of ", path, "", error);
    if (rowLength < 1 || rowCount < 1)
        return badTraceFile("row length and row count of ", path, " must be at least 1", error);
    if (rowLength > MAX_ROW_LENGTH)
        return badTraceFile("row length of ", path,
                            " must not exceed " + std::to_string(MAX_ROW_LENGTH), error);
    // The header alone decides how much is held (a short file reads as
    // zeros), so a few bytes could claim all memory: rows, the row index and
    // the 16-bit traces together stay within MAX_TRACE_MEMORY. Each row takes
    // at least a byte, so the row count is tested first and the products
    // after it cannot overflow.
    long long rows = (long long)rowCount * samples;
    if (rows > MAX_TRACE_MEMORY) return badTraceFile("", path, TOO_LARGE, error);
    long long rowBytes = (long long)rowCount * rowLength;
    long long bodyBytes = rows * rowLength;
    long long indexBytes = rows * (long long)sizeof(unsigned char*);
    long long traceBytes = (long long)rowLength * samples * (long long)sizeof(short);
    if (bodyBytes + indexBytes + traceBytes > MAX_TRACE_MEMORY)
        return badTraceFile("", path, TOO_LARGE, error);

    try {
        t.traceBytes.resize(0, (int)bodyBytes - 1);
        t.traceValues.resize(0, samples * rowLength - 1);
        t.laneRows.resize(0, samples - 1, 0, rowCount - 1);
        t.laneTraces.resize(0, samples - 1);
    } catch (const std::bad_alloc&) {
        t.traceBytes.resize(0, -1);
        t.traceValues.resize(0, -1);
        t.laneRows.resize(0, -1, 0, -1);
        t.laneTraces.resize(0, -1);
        return badTraceFile("", path, TOO_LARGE, error);
    }
    t.rowLength = rowLength;
    t.rowCount = rowCount;

    // Samples follow each other, rows within a sample likewise, so the body
    // is read in one piece; what the file lacks reads as 0.
    unsigned char* body = t.traceBytes.getData();
    long long got = 0;
    if (bodyBytes > 0) {
        in.read(reinterpret_cast<char*>(body), (std::streamsize)bodyBytes);
        got = in.gcount();
        memset(body + got, 0, (size_t)(bodyBytes - got));
    }

    short* values = t.traceValues.getData();
    for (int s = 0; s < samples; s++) {
        for (int r = 0; r < rowCount; r++)
            t.laneRows(s, r) = body + (s * rowBytes + r * (long long)rowLength);
        const unsigned char* low = t.laneRows(s, 0);
        const unsigned char* high = t.laneRows(s, rowCount - 1);
        short* trace = values + (long long)s * rowLength;
        // High byte from the last row, low byte from the first; the pair is
        // a signed 16-bit value, so a high byte of 128 or more is negative.
        for (int i = 0; i < rowLength; i++)
            trace[i] = (short)(unsigned short)(high[i] * 256 + low[i]);
        t.laneTraces(s) = trace;
    }
    return true;
}
