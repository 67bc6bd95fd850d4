#include "zeFastaReader.h"

#include <zlib.h>

#include <cerrno>
#include <cstring>

#include "zeError.h"

namespace {

class GzLines {
  public:
    GzLines(const std::string& path, size_t mostLine)
        : file(gzopen(path.c_str(), "rb")), mostLine(mostLine) {
        if (!file) openErrno = errno ? errno : ENOMEM;
    }
    ~GzLines() {
        if (file) gzclose(file);
    }
    GzLines(const GzLines&) = delete;
    GzLines& operator=(const GzLines&) = delete;

    gzFile file;
    size_t mostLine;
    int openErrno = 0;

    // The next line into `line` without its line end (nor a Windows
    // carriage return). 1: a line; 0: the end; -1: a read failure (`error`
    // set); -2: a line longer than mostLine.
    int next(std::string& line, std::string& error) {
        line.clear();
        for (;;) {
            if (at == filled && !refill(error)) {
                if (failed) return -1;
                return partial ? finish(line) : 0; // a last line without its line end
            }
            const char* from = buffer + at;
            const void* end = memchr(from, '\n', filled - at);
            size_t n = end ? (size_t)((const char*)end - from) : filled - at;
            if (line.size() + n > mostLine) return -2;
            line.append(from, n);
            at += n;
            partial = true;
            if (end) {
                ++at;
                return finish(line);
            }
        }
    }

  private:
    int finish(std::string& line) {
        partial = false;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return 1;
    }
    bool refill(std::string& error) {
        int got = gzread(file, buffer, sizeof buffer);
        if (got < 0) {
            int code = 0;
            const char* text = gzerror(file, &code);
            error = code == Z_ERRNO ? strerror(errno) : text;
            failed = true;
            return false;
        }
        at = 0;
        filled = (size_t)got;
        if (got > 0) return true;
        // A gzip stream cut short ends like a whole one but for its error.
        int code = Z_OK;
        const char* text = gzerror(file, &code);
        if (code != Z_OK && code != Z_STREAM_END) {
            error = text;
            failed = true;
        }
        return false;
    }
    char buffer[1 << 16];
    size_t at = 0, filled = 0;
    bool partial = false, failed = false;
};

} // namespace

bool readFasta(const std::string& path, FastaSink& sink, std::string& error, size_t mostLine) {
    GzLines in(path, mostLine);
    if (!in.file) {
        error = withReason("couldn't read '" + path + "'", in.openErrno);
        return false;
    }
    std::string line, reason;
    long number = 0, header = 0, records = 0;
    bool open = false, hasBases = false;
    auto fail = [&](long at, const std::string& what) {
        error = path + ":" + std::to_string(at) + ": " + what;
        return false;
    };
    for (;;) {
        int got = in.next(line, reason);
        if (got == -1) return fail(number + 1, "couldn't read: " + reason);
        if (got == -2)
            return fail(number + 1, "a line longer than " + std::to_string(mostLine) +
                                        " bytes");
        if (got == 0) break;
        ++number;
        if (!line.empty() && line[0] == '>') {
            if (open && !hasBases) return fail(header, "an empty record: a header with no bases");
            if (open) sink.recordEnd();
            size_t end = line.find_first_of(" \t", 1);
            std::string name = line.substr(1, end == std::string::npos ? end : end - 1);
            if (name.empty()) return fail(number, "a header with no name after '>'");
            if (!sink.record(name, number, reason)) return fail(number, reason);
            open = true;
            hasBases = false;
            header = number;
            ++records;
            continue;
        }
        if (line.find_first_not_of(" \t") == std::string::npos) continue; // blank line
        if (!open)
            return fail(number, "expected a header line starting with '>' before any bases");
        hasBases = true;
        if (!sink.bases(line.data(), line.size(), number, reason)) return fail(number, reason);
    }
    if (open && !hasBases) return fail(header, "an empty record: a header with no bases");
    if (open) sink.recordEnd();
    if (records == 0) return fail(1, "no FASTA record: expected a header line starting with '>'");
    return true;
}
