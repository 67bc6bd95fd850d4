#include "zeMapGff.h"

#include <climits>
#include <map>

#include "zeOptions.h"
#include "zeTextFile.h"

namespace {

const std::string VERSION = "##gff-version 3", REGION = "##sequence-region";

bool startsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

// The contig number of "contig<N>" as zeContig writes it, or 0.
long contigNumber(const std::string& seqid) {
    long n = 0;
    const std::string digits = seqid.substr(std::min(seqid.size(), (size_t)6));
    if (!startsWith(seqid, "contig") || !wholeNumber(digits, 1, INT_MAX, n) ||
        std::to_string(n) != digits)
        return 0;
    return n;
}

// The ID attribute of column 9, or empty.
std::string idOf(const std::string& attributes) {
    for (const std::string& pair : splitFields(attributes, ';'))
        if (startsWith(pair, "ID=")) return pair.substr(3);
    return "";
}

class Checker {
  public:
    Checker(const std::vector<long>& ends, MapGff& gff) : ends(ends), gff(gff) {}

    // What is wrong with one line after the first, or empty.
    std::string line(const std::string& text, long number) {
        if (startsWith(text, "##gff-version")) return "a second '##gff-version' line";
        if (startsWith(text, "##FASTA"))
            return "a ##FASTA section: zePlace's features could not follow it";
        if (startsWith(text, REGION)) return region(text, number);
        if (text[0] == '#') return "";
        return feature(text);
    }

    // What the table holds that the file does not, or empty.
    std::string missing() const {
        for (size_t n = 1; n < ends.size(); ++n)
            if (ends[n] > 0 && !regions.count((long)n))
                return "no ##sequence-region line of contig" + std::to_string(n) +
                       ", a contig of the map's table: the GFF3 file is of another map";
        return "";
    }

  private:
    std::string region(const std::string& text, long number) {
        std::vector<std::string> words = splitWords(text);
        long start = 0, end = 0;
        if (words.size() != 4 || words[0] != REGION || !wholeNumber(words[2], 1, LONG_MAX, start) ||
            !wholeNumber(words[3], 1, LONG_MAX, end))
            return "expected '##sequence-region <seqid> <start> <end>'";
        long contig = contigNumber(words[1]);
        if (contig <= 0 || (size_t)contig >= ends.size() || ends[(size_t)contig] <= 0)
            return "'" + shownText(words[1]) +
                   "' is no contig of the map's table: the GFF3 file is of another map";
        auto seen = regions.emplace(contig, number);
        if (!seen.second)
            return "a second ##sequence-region of " + words[1] + " (the first is at line " +
                   std::to_string(seen.first->second) + ")";
        if (start != 1 || end != ends[(size_t)contig])
            return words[1] + " runs " + words[2] + ".." + words[3] + " here, 1.." +
                   std::to_string(ends[(size_t)contig]) +
                   " in the map's table: the GFF3 file is of another map";
        return "";
    }

    std::string feature(const std::string& text) {
        std::vector<std::string> columns = splitFields(text, '\t');
        if (columns.size() != 9)
            return "expected a feature of 9 tab-separated columns, not " +
                   std::to_string(columns.size());
        long contig = contigNumber(columns[0]), start = 0, end = 0;
        if (!regions.count(contig))
            return "a feature on '" + shownText(columns[0]) +
                   "', which no ##sequence-region line before it declares";
        if (!wholeNumber(columns[3], 1, LONG_MAX, start) || !wholeNumber(columns[4], 1, LONG_MAX, end) ||
            start > end || end > ends[(size_t)contig])
            return "the feature's start and end (" + shownText(columns[3]) + ", " +
                   shownText(columns[4]) + ") do not lie within " + columns[0] + ", 1.." +
                   std::to_string(ends[(size_t)contig]);
        if (columns[1] == "zePlace")
            return "a feature of zePlace: give the GFF3 file zeContig wrote, without placements";
        std::string id = idOf(columns[8]);
        if (!id.empty() && !gff.ids.insert(id).second)
            return "a second feature of ID '" + shownText(id) + "'";
        return "";
    }

    const std::vector<long>& ends;
    MapGff& gff;
    std::map<long, long> regions; // contig -> line
};

} // namespace

bool parseMapGff(const std::string& bytes, const std::string& name,
                 const std::vector<long>& contigEnds, MapGff& gff, std::string& error) {
    gff = MapGff();
    Checker checker(contigEnds, gff);
    size_t at = 0;
    std::string text;
    long number = 0;
    auto fail = [&](long line, const std::string& what) {
        error = name + ":" + std::to_string(line) + ": " + what;
        return false;
    };
    while (nextLine(bytes, at, text)) {
        ++number;
        // GFF3 escapes every control character but the tab.
        std::string control = controlCharacterFault(text);
        if (!control.empty()) return fail(number, control);
        if (number == 1) {
            if (text != VERSION && !startsWith(text, VERSION + "."))
                return fail(1, "not a GFF3 file: its first line is not '" + VERSION + "'");
        } else if (text.find_first_not_of(" \t") == std::string::npos) {
            continue;
        } else {
            std::string why = checker.line(text, number);
            if (!why.empty()) return fail(number, why);
        }
        gff.text += text;
        gff.text += '\n';
    }
    if (number == 0) return fail(1, "not a GFF3 file: it is empty");
    std::string why = checker.missing();
    return why.empty() || fail(number, why);
}

bool readMapGff(const std::string& path, const std::vector<long>& contigEnds, MapGff& gff,
                std::string& error) {
    std::string bytes;
    return readWholeFile(path, bytes, error) && parseMapGff(bytes, path, contigEnds, gff, error);
}
