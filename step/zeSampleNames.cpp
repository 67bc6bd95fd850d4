#include "zeSampleNames.h"

#include <fstream>
#include <iostream>

#include "zeError.h"
#include "zeExit.h"

int SampleNamer::name(StepData& d, int s, const NamesEntry& e) {
    d.copyNumbers(s) = 0;
    if (e.status == "-") {
        d.cloneNames(s) = "";
        d.digestNames(s) = "";
        return -1;
    }
    int counter = cloneCounter++;
    splitNames(e.rest, counter, d.cloneNames(s), d.digestNames(s));
    // Names never hold a NUL, so it separates the two parts of the key.
    std::string key = std::string(d.cloneNames(s).c_str()) + '\0' + d.digestNames(s).c_str();
    d.copyNumbers(s) = seen[key]++;
    return counter;
}

bool openNamesFile(const StepData& d, std::ifstream& names) {
    names.open(d.namesPath.c_str());
    if (!names) {
        printError("can't open " + std::string(d.namesPath.c_str()));
        zeExit(1);
    }
    dbString header;
    names >> header;
    names >> std::ws;
    if (header != "NAMES") {
        printError("wrong header for names file '" + std::string(d.namesPath.c_str()) + "'");
        return false;
    }
    return true;
}

void readNamesEntryOrExit(const StepData& d, std::istream& names, NamesEntry& e) {
    if (!readNamesEntry(names, e)) {
        printError("reading " + std::string(d.namesPath.c_str()));
        zeExit(1);
    }
}

bool readSampleNames(StepData& d) {
    std::ifstream names;
    if (!openNamesFile(d, names)) return false;
    d.cloneNames.resize(0, d.samples - 1);
    d.digestNames.resize(0, d.samples - 1);
    d.copyNumbers.resize(0, d.samples - 1);
    SampleNamer namer;
    NamesEntry e;
    for (int s = 0; s < d.samples; s++) {
        readNamesEntryOrExit(d, names, e);
        namer.name(d, s, e);
    }
    return true;
}
