#include "zeHeadedTable.h"

#include "zeTextFile.h"

namespace {

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& w : words)
        text += (text.empty() ? "" : " ") + w;
    return text;
}

} // namespace

bool parseHeadedTable(const std::string& bytes, const std::string& name,
                      const std::vector<std::string>& header, const TableRow& row,
                      std::string& error) {
    const std::string named = "'" + joined(header) + "'";
    size_t at = 0;
    long number = 0;
    std::string line;
    while (nextLine(bytes, at, line)) {
        ++number;
        std::string fault = controlCharacterFault(line);
        const std::vector<std::string> words = splitWords(line);
        if (!fault.empty()) {
            // a line no field of which can be trusted
        } else if (number == 1) {
            if (words != header)
                fault = "expected the header " + named + ", not '" + shownText(line) + "'";
        } else if (words.size() != header.size() && !words.empty()) {
            fault = "expected " + std::to_string(header.size()) + " fields (" + joined(header) +
                    "), not " + std::to_string(words.size());
        } else if (!words.empty()) {
            fault = row(words, number);
        }
        if (!fault.empty()) {
            error = name + ":" + std::to_string(number) + ": " + fault;
            return false;
        }
    }
    if (number == 0) {
        error = name + ":1: expected the header " + named + ", not an empty file";
        return false;
    }
    return true;
}

bool readHeadedTable(const std::string& path, const std::vector<std::string>& header,
                     const TableRow& row, std::string& error) {
    std::string bytes;
    return readWholeFile(path, bytes, error) && parseHeadedTable(bytes, path, header, row, error);
}
