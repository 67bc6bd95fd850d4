#include "zeLibOutput.h"

#include <cstdio>

namespace {

void appendNumber(std::string& out, long long v) {
    char digits[24];
    int n = snprintf(digits, sizeof digits, "%lld", v);
    out.append(digits, (size_t)n);
}

// The fragment columns of a piece: first and last whole fragment, or -.
void appendFragments(std::string& out, const FragmentRange& r) {
    if (!r.any) {
        out += "-\t-";
        return;
    }
    appendNumber(out, (long long)r.first);
    out += '\t';
    appendNumber(out, (long long)r.last);
}

} // namespace

std::string cloneName(long ordinal) {
    char name[32];
    snprintf(name, sizeof name, "L%06ld", ordinal);
    return name;
}

std::string truthHeader(bool chromosomes) {
    return std::string("clone\tgel\tstart\tend\tchimeric\tfirst_fragment\tlast_fragment"
                       "\tstart2\tend2\tfirst_fragment2\tlast_fragment2") +
           (chromosomes ? "\tchromosome\tchromosome2\n" : "\n");
}

void appendTruthRow(std::string& out, const std::string& name, long gel, const Clone& c,
                    const std::vector<int64_t>& cuts, const Chromosomes* chromosomes) {
    out += name + '\t';
    appendNumber(out, gel);
    out += '\t';
    appendNumber(out, c.first.start);
    out += '\t';
    appendNumber(out, c.first.end);
    out += c.chimeric ? "\t1\t" : "\t0\t";
    appendFragments(out, wholeFragments(cuts, c.first));
    if (!c.chimeric) {
        out += "\t-\t-\t-\t-";
    } else {
        out += '\t';
        appendNumber(out, c.second.start);
        out += '\t';
        appendNumber(out, c.second.end);
        out += '\t';
        appendFragments(out, wholeFragments(cuts, c.second));
    }
    if (chromosomes) {
        out += '\t' + chromosomeName(chromosomeOf(*chromosomes, c.first.start));
        out += '\t' + (c.chimeric ? chromosomeName(chromosomeOf(*chromosomes, c.second.start))
                                   : std::string("-"));
    }
    out += '\n';
}

std::string repeatsTable(const std::vector<RepeatCopy>& copies) {
    std::string out = "block\tstart\tend\n";
    for (const RepeatCopy& c : copies) {
        appendNumber(out, c.block + 1);
        out += '\t';
        appendNumber(out, c.start);
        out += '\t';
        appendNumber(out, c.end);
        out += '\n';
    }
    return out;
}
