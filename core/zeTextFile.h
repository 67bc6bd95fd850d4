// Reading a small text file whole, and splitting a line into its fields,
// for the readers of tab-separated tables.
#ifndef ZE_TEXTFILE_H
#define ZE_TEXTFILE_H

#include <string>
#include <vector>

// False with `error` set to "couldn't read '<path>': <reason>".
bool readWholeFile(const std::string& path, std::string& bytes, std::string& error);

// The pieces of `text` between separators: one more than the separators.
std::vector<std::string> splitFields(const std::string& text, char separator);

#endif
