#include "sweepCases.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace {

// Values that stand in for a number: huge, at the int limits, negative,
// zero, and what a float reader may make of NaN and infinity.
const char* const HOSTILE_NUMBERS[] = {"99999999999", "2147483647", "100000", "-1",  "-2147483648",
                                       "0",           "nan",        "inf",    "-inf", "1e39"};

std::string describe(size_t n) { return std::to_string(n); }

SweepCase fileCase(const std::string& kind, const std::string& entry, const std::string& label,
                   const std::string& content) {
    SweepCase c;
    c.kind = kind;
    c.entry = entry;
    c.label = label;
    c.content = content;
    return c;
}

// Where a file is cut: inside and around each of its first lines (where the
// headers are), at evenly spread points, and just before its end.
std::vector<size_t> cutPoints(const std::string& text) {
    std::set<size_t> points;
    size_t lineStart = 0;
    for (int line = 0; line < 6 && lineStart < text.size(); line++) {
        size_t end = text.find('\n', lineStart);
        if (end == std::string::npos) end = text.size();
        points.insert(lineStart + 1);
        points.insert((lineStart + end) / 2);
        points.insert(end);
        points.insert(end + 1);
        lineStart = end + 1;
    }
    for (int i = 1; i < 12; i++)
        points.insert(text.size() * i / 12);
    points.insert(text.size() - 1);
    std::vector<size_t> usable;
    for (size_t p : points)
        if (p > 0 && p < text.size()) usable.push_back(p);
    return usable;
}

void addCuts(const std::string& name, const std::string& text, std::vector<SweepCase>& out) {
    for (size_t p : cutPoints(text))
        out.push_back(fileCase("cut", name, "cut " + name + " after " + describe(p) + " bytes",
                               text.substr(0, p)));
}

// A fixed spread of positions, denser in the first 64 bytes, each changed
// in one of several ways (bit flips, a line end, a blank, a NUL, a minus).
void addFlips(const std::string& name, const std::string& text, std::vector<SweepCase>& out) {
    std::set<size_t> positions;
    for (size_t p : {0, 3, 7, 12, 20, 33, 47, 63})
        if (p < text.size()) positions.insert(p);
    for (int i = 1; i < 10; i++)
        positions.insert(text.size() * i / 10);
    int variant = 0;
    for (size_t p : positions) {
        std::string changed = text;
        unsigned char& c = reinterpret_cast<unsigned char&>(changed[p]);
        std::string how;
        switch (variant++ % 6) {
        case 0: c ^= 0x80; how = "xor 0x80"; break;
        case 1: c ^= 0x20; how = "xor 0x20"; break;
        case 2: c = '\n'; how = "line end"; break;
        case 3: c = ' '; how = "blank"; break;
        case 4: c = 0; how = "NUL"; break;
        default: c = '-'; how = "minus"; break;
        }
        out.push_back(fileCase("flip", name, "byte " + describe(p) + " of " + name + " " + how,
                               changed));
    }
}

struct Token {
    size_t at;
    size_t length;
};

// Numbers standing as words of their own: an optional sign, digits and
// at most one point. Only the first limit bytes are looked at.
std::vector<Token> numberTokens(const std::string& text, size_t limit) {
    std::vector<Token> tokens;
    size_t end = std::min(limit, text.size());
    size_t i = 0;
    while (i < end) {
        while (i < end && isspace((unsigned char)text[i]))
            i++;
        size_t start = i;
        while (i < end && !isspace((unsigned char)text[i]))
            i++;
        std::string word = text.substr(start, i - start);
        if (word.empty()) continue;
        size_t digits = std::count_if(word.begin(), word.end(), [](char ch) { return isdigit((unsigned char)ch); });
        size_t points = std::count(word.begin(), word.end(), '.');
        size_t sign = (word[0] == '-' || word[0] == '+') ? 1 : 0;
        if (digits > 0 && digits + points + sign == word.size() && points <= 1)
            tokens.push_back({start, word.size()});
    }
    return tokens;
}

// Which numbers of a file are replaced: all of them in the info file and
// in the traces header; elsewhere the first three and a spread of others.
std::vector<Token> chosenTokens(const std::string& name, const std::string& text) {
    if (name == "info") return numberTokens(text, text.size());
    if (name == "traces") {
        std::vector<Token> header = numberTokens(text, text.find('\n', text.find('\n') + 1));
        return header;
    }
    std::vector<Token> all = numberTokens(text, text.size());
    std::vector<Token> chosen;
    for (size_t i = 0; i < all.size() && i < 3; i++)
        chosen.push_back(all[i]);
    for (int k = 1; k <= 3 && all.size() > 3; k++)
        chosen.push_back(all[3 + (all.size() - 4) * k / 3]);
    return chosen;
}

void addNumbers(const std::string& name, const std::string& text, std::vector<SweepCase>& out) {
    for (const Token& t : chosenTokens(name, text)) {
        std::string original = text.substr(t.at, t.length);
        for (const char* value : HOSTILE_NUMBERS) {
            std::string changed = text.substr(0, t.at) + value + text.substr(t.at + t.length);
            out.push_back(fileCase("number", name,
                                   name + " number " + original + " at byte " + describe(t.at) +
                                       " -> " + value,
                                   changed));
        }
    }
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

std::string afterFirstLine(const std::string& text) {
    size_t end = text.find('\n');
    return end == std::string::npos ? "" : text.substr(end);
}

void addHeaderSwaps(const ProjectFiles& project, std::vector<SweepCase>& out) {
    for (const auto& target : project) {
        for (const auto& donor : project) {
            if (donor.first == target.first) continue;
            out.push_back(fileCase("header", target.first,
                                   target.first + " with the first line of " + donor.first,
                                   firstLine(donor.second) + afterFirstLine(target.second)));
        }
    }
}

void addShapes(const ProjectFiles& project, std::vector<SweepCase>& out) {
    for (const auto& f : project) {
        out.push_back(fileCase("empty", f.first, "empty " + f.first, ""));
        SweepCase missing = fileCase("missing", f.first, "no " + f.first, "");
        missing.shape = EntryShape::MISSING;
        out.push_back(missing);
        SweepCase dir = fileCase("directory", f.first, "a directory named " + f.first, "");
        dir.shape = EntryShape::DIRECTORY;
        out.push_back(dir);
    }
    // A plain file where the step keeps its results directory.
    out.push_back(fileCase("directory", "Results", "a plain file named Results", "not a directory\n"));
}

} // namespace

std::vector<SweepCase> buildSweepCases(const ProjectFiles& project, bool reduced) {
    std::vector<SweepCase> all;
    for (const auto& f : project) {
        addCuts(f.first, f.second, all);
        addFlips(f.first, f.second, all);
        addNumbers(f.first, f.second, all);
    }
    addHeaderSwaps(project, all);
    addShapes(project, all);
    if (!reduced) return all;
    // The first of every three cases of each kind and file, so that every
    // kind of change to every file keeps some of its cases.
    std::map<std::string, int> seen;
    std::vector<SweepCase> some;
    for (const SweepCase& c : all)
        if (seen[c.kind + " " + c.entry]++ % 3 == 0) some.push_back(c);
    return some;
}
