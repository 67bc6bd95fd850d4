// A small table typed by hand or a spreadsheet: a header of fixed words,
// then one row per line with as many words, separated by tabs or blanks.
// Blank lines are skipped and Windows line ends accepted. The readers of
// the marker files share this one rule.
#ifndef ZE_HEADEDTABLE_H
#define ZE_HEADEDTABLE_H

#include <functional>
#include <string>
#include <vector>

// Judges one row (its words and line number): "" to go on, or what is wrong.
using TableRow = std::function<std::string(const std::vector<std::string>& words, long line)>;

// The rows of `bytes`, named `name` in messages, handed to `row` in file
// order. False with `error` set to "<name>:<line>: <what>" at the first
// fault: "expected the header '<header>', not '<line>'" (or "not an empty
// file"), "expected <n> fields (<header>), not <k>", or what `row` says.
bool parseHeadedTable(const std::string& bytes, const std::string& name,
                      const std::vector<std::string>& header, const TableRow& row,
                      std::string& error);

// The same for the file at path; "couldn't read '<path>': <reason>" too.
bool readHeadedTable(const std::string& path, const std::vector<std::string>& header,
                     const TableRow& row, std::string& error);

#endif
