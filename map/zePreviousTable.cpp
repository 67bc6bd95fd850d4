#include "zePreviousTable.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "zeContigTable.h"
#include "zeError.h"

namespace {

bool readWhole(const std::string& path, std::string& bytes, std::string& error) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    int err = errno;
    if (fd >= 0) {
        char block[65536];
        ssize_t got;
        while ((got = read(fd, block, sizeof block)) > 0 || (got < 0 && errno == EINTR))
            if (got > 0) bytes.append(block, (size_t)got);
        err = errno;
        close(fd);
        if (got == 0) return true;
    }
    error = withReason("couldn't read '" + path + "'", err);
    return false;
}

// Digits only, at least one, at most `highest`.
bool whole(const std::string& text, long highest, long& value) {
    if (text.empty() || text.size() > 18) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value <= highest;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out(1);
    for (char c : line)
        if (c == '\t')
            out.emplace_back();
        else
            out.back() += c;
    return out;
}

// The fault of one row, or empty.
std::string rowFault(const std::vector<std::string>& f, PreviousRow& row) {
    if (f.size() != 9) return "expected 9 tab-separated fields, not " + std::to_string(f.size());
    long contig = 0, ordinal = 0, left = 0, right = 0;
    if (!whole(f[0], INT_MAX, contig))
        return "contig must be a whole number of 0 or more, not '" + f[0] + "'";
    if (!whole(f[3], INT_MAX, ordinal) || ordinal < 1)
        return "ordinal must be a whole number of 1 or more, not '" + f[3] + "'";
    if (contig == 0 ? f[4] != "-" || f[5] != "-"
                    : !whole(f[4], LONG_MAX / 2, left) || !whole(f[5], LONG_MAX / 2, right) ||
                          left >= right)
        return contig == 0
                   ? "left and right must be '-' in contig 0, not '" + f[4] + "' and '" + f[5] + "'"
                   : "left and right must be whole numbers with left < right, not '" + f[4] +
                         "' and '" + f[5] + "'";
    bool known = false;
    for (CloneStatus s :
         {CloneStatus::Ok, CloneStatus::Buried, CloneStatus::Q, CloneStatus::Chimeric})
        known = known || f[6] == statusName(s);
    if (!known) return "status must be ok, buried, Q or chimeric, not '" + f[6] + "'";
    row.contig = (int)contig;
    row.clone = f[1];
    row.gel = f[2];
    return "";
}

} // namespace

bool readPreviousTable(const std::string& path, std::vector<PreviousRow>& rows,
                       std::string& error) {
    std::string bytes;
    if (!readWhole(path, bytes, error)) return false;
    const std::string header = contigTableHeader();
    rows.clear();
    size_t at = 0;
    long number = 0, firstBlank = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find('\n', at);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(at, end - at);
        at = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto fail = [&](const std::string& what) {
            error = path + ":" + std::to_string(number) + ": " + what;
            return false;
        };
        if (number == 1) {
            if (line + "\n" != header)
                return fail("expected the header of a zeContig table, not '" + line + "'");
            continue;
        }
        if (line.empty()) {
            if (!firstBlank) firstBlank = number;
            continue;
        }
        if (firstBlank) {
            number = firstBlank;
            return fail("a blank line inside the table");
        }
        PreviousRow row;
        std::string fault = rowFault(fields(line), row);
        if (!fault.empty()) return fail(fault);
        rows.push_back(row);
    }
    if (number == 0) {
        error = path + ":1: expected the header of a zeContig table, not an empty file";
        return false;
    }
    return true;
}
