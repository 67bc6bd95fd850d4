#include "zeContigTableReader.h"

#include <climits>

#include "zeContigTable.h"
#include "zeTextFile.h"

namespace {

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

bool readStatus(const std::string& text, CloneStatus& status) {
    for (CloneStatus s :
         {CloneStatus::Ok, CloneStatus::Buried, CloneStatus::Q, CloneStatus::Chimeric})
        if (text == statusName(s)) {
            status = s;
            return true;
        }
    return false;
}

bool readLinks(const std::string& text, std::vector<int>& links) {
    if (text == "-") return true;
    for (const std::string& number : splitFields(text, ',')) {
        long contig = 0;
        if (!whole(number, MOST_CONTIG_NUMBER, contig) || contig < 1) return false;
        links.push_back((int)contig);
    }
    return true;
}

// The fault of one row, or empty.
std::string rowFault(const std::vector<std::string>& f, ContigTableRow& row) {
    if (f.size() != 9) return "expected 9 tab-separated fields, not " + std::to_string(f.size());
    long contig = 0, ordinal = 0, left = -1, right = -1;
    if (!whole(f[0], MOST_CONTIG_NUMBER, contig))
        return "contig must be a whole number from 0 to " + std::to_string(MOST_CONTIG_NUMBER) +
               ", not '" + shownText(f[0]) + "'";
    if (!whole(f[3], INT_MAX, ordinal) || ordinal < 1)
        return "ordinal must be a whole number of 1 or more, not '" + shownText(f[3]) + "'";
    if (contig == 0 ? f[4] != "-" || f[5] != "-"
                    : !whole(f[4], LONG_MAX / 2, left) || !whole(f[5], LONG_MAX / 2, right) ||
                          left >= right)
        return contig == 0 ? "left and right must be '-' in contig 0, not '" + shownText(f[4]) +
                                 "' and '" + shownText(f[5]) + "'"
                           : "left and right must be whole numbers with left < right, not '" +
                                 shownText(f[4]) + "' and '" + shownText(f[5]) + "'";
    if (!readStatus(f[6], row.status))
        return "status must be ok, buried, Q or chimeric, not '" + shownText(f[6]) + "'";
    if (f[7].empty()) return "buried_in must be '-' or a clone's identity, not empty";
    if (!readLinks(f[8], row.links))
        return "links must be '-' or contig numbers from 1 to " +
               std::to_string(MOST_CONTIG_NUMBER) + " separated by commas, not '" +
               shownText(f[8]) + "'";
    row.contig = (int)contig;
    row.clone = f[1];
    row.gel = f[2];
    row.ordinal = (int)ordinal;
    row.left = left;
    row.right = right;
    row.buriedIn = f[7] == "-" ? "" : f[7];
    return "";
}

} // namespace

bool parseContigTable(const std::string& bytes, const std::string& name,
                      std::vector<ContigTableRow>& rows, std::string& error) {
    const std::string header = contigTableHeader();
    rows.clear();
    size_t at = 0;
    long number = 0, firstBlank = 0;
    std::string line;
    while (nextLine(bytes, at, line)) {
        ++number;
        auto fail = [&](const std::string& what) {
            error = name + ":" + std::to_string(number) + ": " + what;
            return false;
        };
        if (number == 1) {
            if (line + "\n" != header)
                return fail("expected the header of a zeContig table, not '" + shownText(line) +
                            "'");
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
        ContigTableRow row;
        std::string fault = rowFault(splitFields(line, '\t'), row);
        if (!fault.empty()) return fail(fault);
        rows.push_back(row);
    }
    if (number == 0) {
        error = name + ":1: expected the header of a zeContig table, not an empty file";
        return false;
    }
    return true;
}

bool readContigTable(const std::string& path, std::vector<ContigTableRow>& rows,
                     std::string& error) {
    std::string bytes;
    return readWholeFile(path, bytes, error) && parseContigTable(bytes, path, rows, error);
}
