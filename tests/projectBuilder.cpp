#include "projectBuilder.h"

#include <cstdio>
#include <cstdlib>

namespace zetest {

namespace {

// Shortest text that reads back as the same double.
std::string number(double v) {
    char buf[64];
    snprintf(buf, sizeof buf, "%.17g", v);
    for (int precision = 1; precision <= 17; precision++) {
        char tryBuf[64];
        snprintf(tryBuf, sizeof tryBuf, "%.*g", precision, v);
        if (strtod(tryBuf, nullptr) == v) return tryBuf;
    }
    return buf;
}

} // namespace

std::string infoText(const ProjectShape& p) {
    std::string t = "VERSION 1.0\nINFO\n";
    t += "lanenumber = " + std::to_string(p.lanes) + "\n";
    t += "dyenumber = " + std::to_string(p.dyes) + "\n";
    t += "markerrepeat = " + std::to_string(p.markerRepeat) + "\n";
    t += std::string("normmethod = ") + (p.linear ? "linear" : "nonlinear") + "\n";
    t += "imagewidth = " + std::to_string(p.imageWidth) + "\n";
    if (!p.gelNumber.empty()) t += "gelnumber = " + p.gelNumber + "\n";
    t += "username = " + p.userName + "\n";
    if (!p.compression.empty()) t += "compression = " + p.compression + "\n";
    return t;
}

std::string rawBandsText(const std::vector<BandRecord>& bands) {
    std::string t = "BANDS raw bands of the test gel\n";
    for (const BandRecord& b : bands)
        t += std::to_string(b.sample) + " " + number(b.position) + " 0 0 " +
             std::to_string(b.kind) + "\n";
    return t;
}

TraceBody::TraceBody(const ProjectShape& p)
    : rowLength(p.rowLength), rowCount(p.rowCount),
      body((size_t)p.samples() * p.rowCount * p.rowLength, '\0') {}

unsigned char& TraceBody::at(int sample, int row, int pos) {
    size_t offset = ((size_t)sample * rowCount + row) * rowLength + pos;
    return reinterpret_cast<unsigned char&>(body.at(offset));
}

void TraceBody::fillRow(int sample, int row, unsigned char v) {
    for (int i = 0; i < rowLength; i++)
        at(sample, row, i) = v;
}

std::string tracesHeader(int rowLength, int rowCount) {
    return "TRACES " + std::to_string(rowLength) + "\nROWS " + std::to_string(rowCount) +
           "\nlane strips of the test gel\nend of header\n";
}

std::string tracesText(const ProjectShape& p, const TraceBody& body) {
    return tracesHeader(p.rowLength, p.rowCount) + body.bytes();
}

std::vector<CalPair> linearCalibration(double scale, double gelHigh) {
    return {{0, 0}, {scale * gelHigh, gelHigh}};
}

std::string normFacText(const ProjectShape& p, const std::vector<std::vector<CalPair>>& blocks) {
    std::string t = "NORMFACTORS\n";
    int lane = 0;
    for (const std::vector<CalPair>& block : blocks) {
        t += std::to_string(block.size()) + "\n";
        for (const CalPair& c : block) {
            t += std::to_string(lane * p.dyes) + " " + number(c.norm) + " " + number(c.gel);
            if (c.size > 0) t += " " + number(c.size);
            t += "\n";
        }
        lane += p.markerRepeat;
    }
    return t;
}

std::string normFacText(const ProjectShape& p, const std::vector<CalPair>& pairs) {
    int markers = (p.lanes - 1) / p.markerRepeat + 1;
    return normFacText(p, std::vector<std::vector<CalPair>>((size_t)markers, pairs));
}

std::string nameEntry(int lane, const std::string& status, const std::string& clone,
                      const std::string& digest) {
    return std::to_string(lane) + " " + status + " \"" + clone + "\" \"" + digest + "\"";
}

std::string namesText(const std::vector<std::string>& entries) {
    std::string t = "NAMES\n";
    for (const std::string& e : entries)
        t += e + "\n";
    return t;
}

std::string namesForAll(const ProjectShape& p) {
    std::vector<std::string> entries;
    for (int s = 0; s < p.samples(); s++)
        entries.push_back(nameEntry(s / p.dyes, "+", "c" + std::to_string(s), "d"));
    return namesText(entries);
}

void writeProject(const std::string& dir, const ProjectFiles& files) {
    writeFile(dir + "/info", files.info);
    writeFile(dir + "/raw-bands", files.rawBands);
    writeFile(dir + "/traces", files.traces);
    writeFile(dir + "/norm-fac", files.normFac);
    writeFile(dir + "/names", files.names);
}

RunResult runStep(const std::string& dir, const std::string& mapping, bool verbose) {
    if (verbose) return run(zeStep5Path(), {"-v", dir, mapping});
    return run(zeStep5Path(), {dir, mapping});
}

std::vector<std::string> linesStartingWith(const std::string& text, const std::string& prefix) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace zetest
