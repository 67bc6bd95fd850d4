// Reading a small text file whole, its lines, and splitting a line into its fields,
// for the readers of tab-separated tables.
#ifndef ZE_TEXTFILE_H
#define ZE_TEXTFILE_H

#include <string>
#include <vector>

// False with `error` set to "couldn't read '<path>': <reason>".
bool readWholeFile(const std::string& path, std::string& bytes, std::string& error);

// The next line of `bytes` from `at` (which it moves past the line's
// end) without its line end, "\n" or "\r\n"; false at the end of bytes.
bool nextLine(const std::string& bytes, size_t& at, std::string& line);

// What is wrong with a line of a table holding a control character other
// than a tab (a carriage return not before its line end among them), or
// empty: such a byte is no part of a name or a number, and comes of a
// damaged file or of old Mac line ends.
std::string controlCharacterFault(const std::string& line);

// `text` as a message quotes it: control characters but the tab as \xNN
// (a terminal would act on them), and of text longer than 80 bytes its
// first 80 (not parting a UTF-8 character) and "...": a damaged file may
// hold a line of megabytes, which one error line should not repeat.
std::string shownText(const std::string& text);

// The pieces of `text` between separators: one more than the separators.
std::vector<std::string> splitFields(const std::string& text, char separator);

// The words of `text`: the runs of other characters than tabs and blanks.
std::vector<std::string> splitWords(const std::string& text);

#endif
