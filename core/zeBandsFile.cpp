#include "zeBandsFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <streambuf>

#include "zeError.h"
#include "zeTextFile.h"

namespace {

// Reads a file descriptor for an istream and keeps the error number of a
// failed read, taken right at the read (a directory fails here too, with
// EISDIR); the stream then just ends.
class FileReadBuffer : public std::streambuf {
  public:
    explicit FileReadBuffer(int fd) : fd(fd) {}
    int readErrno = 0;

  private:
    int_type underflow() override {
        ssize_t n;
        do {
            n = ::read(fd, buffer, sizeof buffer);
        } while (n < 0 && errno == EINTR);
        if (n < 0) readErrno = errno;
        if (n <= 0) return traits_type::eof();
        setg(buffer, buffer, buffer + n);
        return traits_type::to_int_type(buffer[0]);
    }
    int fd;
    char buffer[65536];
};

// Closes the descriptor when the read ends, however it ends.
struct FileDescriptor {
    explicit FileDescriptor(int fd) : fd(fd) {}
    ~FileDescriptor() {
        if (fd >= 0) close(fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int fd;
};

// The text without the blanks (spaces, tabs) around it.
std::string trimBlanks(const std::string& text) {
    size_t from = text.find_first_not_of(" \t");
    if (from == std::string::npos) return "";
    return text.substr(from, text.find_last_not_of(" \t") + 1 - from);
}

// An optional minus sign and at least one digit, nothing else.
bool looksWhole(const std::string& text) {
    size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    if (digits == text.size()) return false;
    for (size_t i = digits; i < text.size(); i++)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

// A whole line as a decimal integer of the range of long.
bool parseInteger(const std::string& text, long& value) {
    if (!looksWhole(text)) return false;
    errno = 0;
    value = strtol(text.c_str(), nullptr, 10);
    return errno != ERANGE;
}

// The fields of a header: the text after its leading blanks, split at
// every blank. zeStep5 writes three, "<clone> <count> <gel>", the last one
// empty for a project without a gel number; a clone name never holds a
// blank. None for a blank line.
std::vector<std::string> headerFields(const std::string& line) {
    std::vector<std::string> fields;
    size_t at = line.find_first_not_of(' ');
    while (at != std::string::npos) {
        size_t blank = line.find(' ', at);
        fields.push_back(line.substr(at, blank == std::string::npos ? blank : blank - at));
        at = blank == std::string::npos ? blank : blank + 1;
    }
    return fields;
}

bool parseHeader(const std::string& line, Fingerprint& f, long& count) {
    std::vector<std::string> fields = headerFields(line);
    if (fields.size() != 3 || !parseInteger(fields[1], count) || count < 0) return false;
    f.clone = fields[0];
    f.gel = fields[2];
    return true;
}

// Why a line is not a header: its number of fields when that is not three.
std::string notAHeader(const std::string& line) {
    const std::string expected = "expected a header '<clone> <band count> <gel number>'";
    size_t n = headerFields(line).size();
    if (n == 0 || n == 3) return expected + ", not '" + shownText(line) + "'";
    return expected + " (3 fields, each after one blank), not " + std::to_string(n) +
           (n == 1 ? " field" : " fields") + ": '" + shownText(line) + "'";
}

// The three bytes that some editors put at the start of a UTF-8 file.
const std::string BYTE_ORDER_MARK = "\xEF\xBB\xBF";

class BlockReader {
  public:
    BlockReader(std::istream& in, const std::string& name) : in(in), name(name) {}

    // False at a clean end of input or on an error (then `error` is set).
    bool next(Fingerprint& f);
    std::string error;
    std::vector<std::string> warnings;

  private:
    // The next line without the carriage return of a Windows line end.
    bool nextLine() {
        if (!std::getline(in, line)) return false;
        lineNumber++;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // Otherwise the mark would become part of the first clone's name.
        if (lineNumber == 1 && line.compare(0, BYTE_ORDER_MARK.size(), BYTE_ORDER_MARK) == 0) {
            line.erase(0, BYTE_ORDER_MARK.size());
            warnings.push_back("WARNING: '" + name +
                               "' starts with a UTF-8 byte-order mark, which is skipped");
        }
        return true;
    }
    bool onlyBlankLinesLeft();
    bool fail(const std::string& what) {
        error = name + ":" + std::to_string(lineNumber) + ": " + what;
        return false;
    }
    std::istream& in;
    const std::string& name;
    std::string line;
    long lineNumber = 0;
};

// Blank lines at the end of a file, as editors leave them, end it cleanly;
// elsewhere a blank line is an error at its own line. Reads to the end or
// to the first line with text; the caller then fails at the blank line,
// which is kept as the current one.
bool BlockReader::onlyBlankLinesLeft() {
    std::string first = line;
    long firstNumber = lineNumber;
    while (trimBlanks(line).empty())
        if (!nextLine()) return true;
    line = first;
    lineNumber = firstNumber;
    return false;
}

bool BlockReader::next(Fingerprint& f) {
    if (!nextLine()) return false;
    if (trimBlanks(line).empty() && onlyBlankLinesLeft()) return false;
    long count = 0;
    if (!parseHeader(line, f, count)) return fail(notAHeader(line));
    const std::string who = "clone '" + shownText(f.clone) + "'";
    f.bands.clear();
    for (;;) {
        if (!nextLine()) return fail("missing \"-1\" at the end of the bands of " + who);
        long v = 0;
        const std::string number = trimBlanks(line);
        if (number == "-1") break;
        if (!looksWhole(number)) {
            if ((long)f.bands.size() == count && parseHeader(line, f, v))
                return fail("missing \"-1\" after the " + std::to_string(count) + " bands of " + who);
            return fail("band position '" + shownText(line) + "' of " + who +
                        " is not a whole number");
        }
        // Positions past the scale's end are kept: the step extrapolates
        // bands a little beyond the last marker, and a calibration may
        // reach further.
        bool parsed = parseInteger(number, v);
        if (number[0] == '-' && (!parsed || v < 0))
            return fail("band position " + shownText(number) + " of " + who + " is negative");
        if (!parsed || v > INT_MAX)
            return fail("band position " + shownText(number) + " of " + who +
                        " is too large (at most " + std::to_string(INT_MAX) + ")");
        if (!f.bands.empty() && v < f.bands.back())
            return fail("band position " + number + " of " + who + " follows " +
                        std::to_string(f.bands.back()) + ": positions must ascend");
        f.bands.push_back((int)v);
    }
    if ((long)f.bands.size() != count)
        return fail(who + " has " + std::to_string(f.bands.size()) + " bands but its header says " +
                    std::to_string(count));
    return true;
}

} // namespace

bool readBands(std::istream& in, const std::string& name, std::vector<Fingerprint>& out,
               std::string& error, std::vector<std::string>* warnings) {
    BlockReader reader(in, name);
    Fingerprint f;
    for (int ordinal = 1; reader.next(f); ordinal++) {
        f.ordinal = ordinal;
        out.push_back(f);
    }
    error = reader.error;
    if (warnings) warnings->insert(warnings->end(), reader.warnings.begin(), reader.warnings.end());
    return error.empty();
}

bool readBandsFile(const std::string& path, std::vector<Fingerprint>& out, std::string& error,
                   std::vector<std::string>* warnings) {
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.fd < 0) {
        error = withReason("couldn't read '" + path + "'", errno);
        return false;
    }
    FileReadBuffer buffer(file.fd);
    std::istream in(&buffer);
    bool parsed = readBands(in, path, out, error, warnings);
    // A read that failed cut the input short: that, not the cut, is the error.
    if (buffer.readErrno != 0) {
        error = withReason("couldn't read '" + path + "'", buffer.readErrno);
        return false;
    }
    return parsed;
}
