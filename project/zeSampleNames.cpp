#include "zeSampleNames.h"

int SampleNamer::name(SampleNames& n, int s, const NamesEntry& e) {
    n.copyNumbers(s) = 0;
    if (e.status == "-") {
        n.cloneNames(s) = "";
        n.digestNames(s) = "";
        return -1;
    }
    int counter = cloneCounter++;
    splitNames(e.rest, counter, n.cloneNames(s), n.digestNames(s));
    // Names never hold a NUL, so it separates the two parts of the key.
    std::string key = std::string(n.cloneNames(s).c_str()) + '\0' + n.digestNames(s).c_str();
    n.copyNumbers(s) = seen[key]++;
    return counter;
}

bool openNamesFile(const char* path, std::ifstream& names, std::string& error) {
    names.open(path);
    if (names) return true;
    error = std::string("can't open ") + path;
    return false;
}

bool readNamesHeader(std::istream& names, const char* path, std::string& error) {
    dbString header;
    names >> header;
    names >> std::ws;
    if (header == "NAMES") return true;
    error = std::string("wrong header for names file '") + path + "'";
    return false;
}

bool readNextNamesEntry(std::istream& names, const char* path, NamesEntry& e,
                        std::string& error) {
    if (readNamesEntry(names, e)) return true;
    error = std::string("reading ") + path;
    return false;
}

bool readSampleNames(const char* path, int samples, SampleNames& n, std::string& error) {
    std::ifstream names;
    if (!openNamesFile(path, names, error) || !readNamesHeader(names, path, error)) return false;
    n.cloneNames.resize(0, samples - 1);
    n.digestNames.resize(0, samples - 1);
    n.copyNumbers.resize(0, samples - 1);
    SampleNamer namer;
    NamesEntry e;
    for (int s = 0; s < samples; s++) {
        if (!readNextNamesEntry(names, path, e, error)) return false;
        namer.name(n, s, e);
    }
    return true;
}
