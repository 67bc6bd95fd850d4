#include "zeFastaReader.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "zeError.h"

namespace {

// The bytes of a file, inflated when it starts as gzip does (its members
// one after another, as `cat a.gz b.gz` makes them), as they are
// otherwise. Unlike zlib's gzread, which ends quietly at bytes after a
// member that start no other, those are an error here: a damaged second
// member would otherwise lose its records without a word.
class FileBytes {
  public:
    explicit FileBytes(const std::string& path) : file(fopen(path.c_str(), "rb")) {
        if (!file) {
            openErrno = errno ? errno : ENOMEM;
            return;
        }
        memset(&z, 0, sizeof z);
        fillRaw();
        compressed = rawFilled >= 2 && (unsigned char)raw[0] == 0x1f && (unsigned char)raw[1] == 0x8b;
        // 15 + 16: gzip members only, with the largest window.
        if (compressed && inflateInit2(&z, 15 + 16) != Z_OK) {
            readError = "couldn't start inflating: out of memory";
            compressed = false;
        }
    }
    ~FileBytes() {
        if (compressed) inflateEnd(&z);
        if (file) fclose(file);
    }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    bool opened() const { return file != nullptr; }
    int openErrno = 0;

    // Up to `size` bytes into `to`: their count, 0 at the end, -1 on a read
    // or gzip failure (`error` set).
    long read(char* to, size_t size, std::string& error) {
        if (!readError.empty()) return fault(error);
        if (!compressed) {
            if (rawAt == rawFilled && !fillRaw()) return readError.empty() ? 0 : fault(error);
            size_t n = std::min(size, rawFilled - rawAt);
            memcpy(to, raw + rawAt, n);
            rawAt += n;
            return (long)n;
        }
        z.next_out = reinterpret_cast<Bytef*>(to);
        z.avail_out = (uInt)size;
        while (z.avail_out == size) {
            if (z.avail_in == 0 && !fillRaw()) {
                if (!readError.empty()) return fault(error);
                if (!inMember) return 0;
                readError = "the gzip stream is cut short";
                return fault(error);
            }
            inMember = true;
            int got = inflate(&z, Z_NO_FLUSH);
            if (got == Z_STREAM_END) {
                inMember = false;
                inflateReset(&z);
            } else if (got == Z_DATA_ERROR && afterMember) {
                readError = "bytes after the end of the gzip stream that start no gzip member";
            } else if (got != Z_OK && got != Z_BUF_ERROR) {
                readError = std::string("a corrupt gzip stream: ") + (z.msg ? z.msg : zError(got));
            }
            afterMember = got == Z_STREAM_END || (afterMember && got != Z_OK);
            // What came before a fault is given first, the fault next time.
            if (!readError.empty() && z.avail_out == size) return fault(error);
        }
        return (long)(size - z.avail_out);
    }

  private:
    long fault(std::string& error) {
        error = readError;
        return -1;
    }
    // The next raw bytes, for inflate too; false at the end of the file or
    // on a failure (readError set).
    bool fillRaw() {
        rawAt = 0;
        rawFilled = fread(raw, 1, sizeof raw, file);
        if (rawFilled == 0 && ferror(file)) readError = strerror(errno ? errno : EIO);
        z.next_in = reinterpret_cast<Bytef*>(raw);
        z.avail_in = (uInt)rawFilled;
        return rawFilled > 0;
    }

    FILE* file;
    z_stream z;
    char raw[1 << 16];
    size_t rawAt = 0, rawFilled = 0;
    bool compressed = false; // and so inflating: z is set up
    bool inMember = false;    // a member begun and not yet ended
    bool afterMember = false; // a member has just ended: what follows must start another
    std::string readError;
};

class GzLines {
  public:
    GzLines(const std::string& path, size_t mostLine) : in(path), mostLine(mostLine) {}

    FileBytes in;
    size_t mostLine;

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
        long got = in.read(buffer, sizeof buffer, error);
        at = 0;
        filled = got > 0 ? (size_t)got : 0;
        failed = got < 0;
        return got > 0;
    }
    char buffer[1 << 16];
    size_t at = 0, filled = 0;
    bool partial = false, failed = false;
};

} // namespace

bool readFasta(const std::string& path, FastaSink& sink, std::string& error, size_t mostLine) {
    GzLines in(path, mostLine);
    if (!in.in.opened()) {
        error = withReason("couldn't read '" + path + "'", in.in.openErrno);
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
            // The outputs are tables and GFF3 of one line per piece.
            for (unsigned char c : name)
                if (c < 0x20 || c == 0x7f)
                    return fail(number, "a header whose name holds a control character (byte " +
                                            std::to_string(c) + ")");
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
