// Writing small project directories for end-to-end runs of zeStep5: the
// info, raw-bands, traces, norm-fac and names files, each built from a few
// plain values so that a test can work out the expected output by hand.
#ifndef ZE_PROJECT_BUILDER_H
#define ZE_PROJECT_BUILDER_H

#include <string>
#include <vector>

#include "testSupport.h"

namespace zetest {

// The gel as the info file describes it, plus the shape of its traces.
struct ProjectShape {
    int lanes = 2;
    int dyes = 1;
    int markerRepeat = 1;
    bool linear = true;
    std::string gelNumber = "17";
    std::string userName = "tester";
    int imageWidth = 200;
    std::string compression; // empty: the key is left out (default gzip)
    int rowLength = 200;
    int rowCount = 3;

    int samples() const { return lanes * dyes; }
};

// "VERSION" and "INFO" lines followed by one entry per line.
std::string infoText(const ProjectShape& p);

// One raw band: sample index, gel position, kind (value1/value2 are 0).
struct BandRecord {
    int sample;
    double position;
    int kind = 1;
};
std::string rawBandsText(const std::vector<BandRecord>& bands);

// The traces body of a project: samples x rowCount rows of rowLength bytes,
// all 0 until set.
class TraceBody {
  public:
    explicit TraceBody(const ProjectShape& p);
    unsigned char& at(int sample, int row, int pos);
    // Every byte of one row set to v.
    void fillRow(int sample, int row, unsigned char v);
    const std::string& bytes() const { return body; }

  private:
    int rowLength, rowCount;
    std::string body;
};
// Header "TRACES <rowLength>" / "ROWS <rowCount>" / two free lines.
std::string tracesHeader(int rowLength, int rowCount);
std::string tracesText(const ProjectShape& p, const TraceBody& body);

// One calibration pair; a size of 0 or less leaves the size column out.
struct CalPair {
    double norm;
    double gel;
    double size = 0;
};
// The pairs (0, 0) and (scale x gelHigh, gelHigh): standard = scale x gel.
// Powers of two for scale and gelHigh keep every mapped position exact.
std::vector<CalPair> linearCalibration(double scale, double gelHigh);
// One block per marker lane (0, markerRepeat, ...), in lane order.
std::string normFacText(const ProjectShape& p, const std::vector<std::vector<CalPair>>& blocks);
// The same pairs for every marker lane.
std::string normFacText(const ProjectShape& p, const std::vector<CalPair>& pairs);

// The names entry  lane status "clone" "digest"
std::string nameEntry(int lane, const std::string& status, const std::string& clone,
                      const std::string& digest);
// "NAMES" and the entries, each ended with a line end.
std::string namesText(const std::vector<std::string>& entries);
// A named entry per sample: clone "c<s>", digest "d".
std::string namesForAll(const ProjectShape& p);

// All five input files of a project in dir.
struct ProjectFiles {
    std::string info, rawBands, traces, normFac, names;
};
void writeProject(const std::string& dir, const ProjectFiles& files);

// zeStep5 dir mapping, with -v first when verbose.
RunResult runStep(const std::string& dir, const std::string& mapping = "map", bool verbose = false);

// Lines of text (without line ends) that start with prefix.
std::vector<std::string> linesStartingWith(const std::string& text, const std::string& prefix);

} // namespace zetest

#endif
