#include "zeTextFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "zeError.h"

bool readWholeFile(const std::string& path, std::string& bytes, std::string& error) {
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

bool nextLine(const std::string& bytes, size_t& at, std::string& line) {
    if (at >= bytes.size()) return false;
    size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    line = bytes.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

std::string controlCharacterFault(const std::string& line) {
    for (unsigned char c : line) {
        if (c == '\r') return "a carriage return inside the line (lines must end in \\n or \\r\\n)";
        if ((c < 0x20 && c != '\t') || c == 0x7f)
            return "a control character (byte " + std::to_string(c) + ") inside the line";
    }
    return "";
}

std::string shownText(const std::string& text) {
    size_t cut = std::min(text.size(), (size_t)80);
    // A byte 10xxxxxx continues the UTF-8 character before it.
    while (cut > 0 && cut < text.size() && ((unsigned char)text[cut] & 0xC0) == 0x80)
        --cut;
    std::string shown;
    for (size_t k = 0; k < cut; ++k) {
        const unsigned char c = (unsigned char)text[k];
        if ((c < 0x20 && c != '\t') || c == 0x7f) {
            const char* hex = "0123456789ABCDEF";
            shown += std::string("\\x") + hex[c >> 4] + hex[c & 15];
        } else {
            shown += (char)c;
        }
    }
    return cut < text.size() ? shown + "..." : shown;
}

std::vector<std::string> splitFields(const std::string& text, char separator) {
    std::vector<std::string> out(1);
    for (char c : text)
        if (c == separator)
            out.emplace_back();
        else
            out.back() += c;
    return out;
}

std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    size_t at = 0;
    while ((at = text.find_first_not_of(" \t", at)) != std::string::npos) {
        size_t end = std::min(text.find_first_of(" \t", at), text.size());
        words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}
