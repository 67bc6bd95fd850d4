// Helpers for the zeReport tests: running the programs, reading the
// report's per-sample rows and pictures back, and snapshots of a project
// directory to prove that nothing but report.html changed.
#ifndef ZE_REPORT_TEST_SUPPORT_H
#define ZE_REPORT_TEST_SUPPORT_H

#include <map>
#include <string>
#include <vector>

#include "testSupport.h"

namespace zetest {

RunResult runReport(const std::vector<std::string>& args);

// zeGenProject --out dir and the given knobs; throws when it fails.
void generateProject(const std::string& dir, const std::vector<std::string>& knobs);

// One row of the report's band table, read from its data attributes and cells.
struct ReportRow {
    int sample = -1;
    int accepted = 0, outside = 0, negativePosition = 0, negativeLogSize = 0, otherKind = 0;
    std::string clone, digest;
    int copy = 0;
};
std::vector<ReportRow> reportRows(const std::string& html);

// Header counts of a bands or size file: (clone, count) per block, in order.
std::vector<std::pair<std::string, int>> bandFileCounts(const std::string& text);

// Occurrences of needle in text.
int countOf(const std::string& text, const std::string& needle);

// Every file under dir (relative path -> contents and modification time),
// directories included with empty contents.
struct FileState {
    std::string bytes;
    long long mtimeNs = 0;
    bool directory = false;
    bool operator==(const FileState& o) const {
        return bytes == o.bytes && mtimeNs == o.mtimeNs && directory == o.directory;
    }
};
std::map<std::string, FileState> snapshot(const std::string& dir);

std::string base64Decode(const std::string& text);

// A PNG decoded to 8-bit grey; false when it is not a readable PNG.
struct GreyImage {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
};
bool decodePng(const std::string& png, GreyImage& image);

// The strip picture of each sample in the gel section: sample -> PNG bytes.
std::map<int, std::string> gelPictures(const std::string& html);

} // namespace zetest

#endif
