#include "reportTestSupport.h"

#include <dirent.h>
#include <png.h>
#include <sys/stat.h>

#include <cstring>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace zetest {

namespace {

// Pieces of text from each occurrence of open up to the following close
// (std::regex recurses per character, so it only ever sees short pieces).
std::vector<std::string> pieces(const std::string& text, const std::string& open,
                                const std::string& close) {
    std::vector<std::string> found;
    for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
        size_t end = text.find(close, at);
        if (end == std::string::npos) break;
        found.push_back(text.substr(at, end - at));
    }
    return found;
}

void walk(const std::string& root, const std::string& rel, std::map<std::string, FileState>& out) {
    for (const std::string& name : listDir(rel.empty() ? root : root + "/" + rel)) {
        std::string path = rel.empty() ? name : rel + "/" + name;
        std::string full = root + "/" + path;
        struct stat st;
        if (lstat(full.c_str(), &st) != 0) continue;
        FileState f;
        f.mtimeNs = (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
        f.directory = S_ISDIR(st.st_mode);
        if (f.directory) {
            out[path] = f;
            walk(root, path, out);
        } else {
            f.bytes = readFile(full);
            out[path] = f;
        }
    }
}

} // namespace

RunResult runReport(const std::vector<std::string>& args) {
    return run(ZEREPORT_BIN, args);
}

void generateProject(const std::string& dir, const std::vector<std::string>& knobs) {
    std::vector<std::string> args = {"--out", dir};
    args.insert(args.end(), knobs.begin(), knobs.end());
    RunResult r = run(ZE_GENERATOR_BIN, args);
    if (r.status != 0) throw std::runtime_error("zeGenProject failed: " + r.err);
}

std::vector<ReportRow> reportRows(const std::string& html) {
    static const std::regex row(
        "<tr class=\"sample[^\"]*\" data-sample=\"(\\d+)\" data-accepted=\"(\\d+)\" "
        "data-outside=\"(\\d+)\" data-negative-position=\"(\\d+)\" "
        "data-negative-log-size=\"(\\d+)\" data-other-kind=\"(\\d+)\">"
        "<td class=\"num\">\\d+</td><td class=\"num lane\">(?:<a [^>]*>)?\\d+(?:</a>)?</td>"
        "<td class=\"num\">\\d+</td><td>([^<]*)</td><td>([^<]*)</td><td class=\"num\">(\\d+)</td>");
    std::vector<ReportRow> rows;
    for (const std::string& piece : pieces(html, "<tr class=\"sample", "</tr>")) {
        std::smatch m;
        if (!std::regex_search(piece, m, row)) throw std::runtime_error("odd row: " + piece);
        ReportRow r;
        r.sample = std::stoi(m[1]);
        r.accepted = std::stoi(m[2]);
        r.outside = std::stoi(m[3]);
        r.negativePosition = std::stoi(m[4]);
        r.negativeLogSize = std::stoi(m[5]);
        r.otherKind = std::stoi(m[6]);
        r.clone = m[7];
        r.digest = m[8];
        r.copy = std::stoi(m[9]);
        rows.push_back(r);
    }
    return rows;
}

std::vector<std::pair<std::string, int>> bandFileCounts(const std::string& text) {
    std::vector<std::pair<std::string, int>> counts;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        // Headers start with nine blanks: "         clone count gelnumber".
        if (line.compare(0, 9, "         ") != 0) continue;
        std::istringstream words(line);
        std::string clone, gel;
        int count = -1;
        words >> clone >> count >> gel;
        counts.push_back({clone, count});
    }
    return counts;
}

int countOf(const std::string& text, const std::string& needle) {
    int n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        n++;
    return n;
}

std::map<std::string, FileState> snapshot(const std::string& dir) {
    std::map<std::string, FileState> files;
    walk(dir, "", files);
    return files;
}

std::string base64Decode(const std::string& text) {
    std::string out;
    unsigned buffer = 0;
    int bits = 0;
    for (char c : text) {
        const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        const char* at = c ? strchr(digits, c) : nullptr;
        if (!at) continue; // padding
        buffer = buffer << 6 | (unsigned)(at - digits);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += (char)((buffer >> bits) & 0xff);
        }
    }
    return out;
}

bool decodePng(const std::string& png, GreyImage& image) {
    png_image img;
    memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&img, png.data(), png.size())) return false;
    img.format = PNG_FORMAT_GRAY;
    image.width = (int)img.width;
    image.height = (int)img.height;
    image.pixels.assign(PNG_IMAGE_SIZE(img), 0);
    if (!png_image_finish_read(&img, nullptr, image.pixels.data(), 0, nullptr)) {
        png_image_free(&img);
        return false;
    }
    return true;
}

std::map<int, std::string> gelPictures(const std::string& html) {
    std::map<int, std::string> pictures;
    const std::string open = "<g class=\"sample\" data-sample=\"", data = "data:image/png;base64,";
    for (const std::string& piece : pieces(html, open, "</g>")) {
        int sample = std::stoi(piece.substr(open.size()));
        size_t from = piece.find(data);
        if (from == std::string::npos) continue;
        from += data.size();
        pictures[sample] = base64Decode(piece.substr(from, piece.find('"', from) - from));
    }
    return pictures;
}

} // namespace zetest
