#include "zeSampleNames.h"

#include <fstream>
#include <iostream>

#include "zeExit.h"

int nameSample(StepData& d, int s, const NamesEntry& e, int& cloneCounter) {
    d.copyNumbers(s) = 0;
    if (e.status == "-") {
        d.cloneNames(s) = "";
        d.digestNames(s) = "";
        return -1;
    }
    int counter = cloneCounter++;
    splitNames(e.rest, counter, d.cloneNames(s), d.digestNames(s));
    int copies = 0;
    for (int t = 0; t < s; t++)
        if (d.cloneNames(t) == d.cloneNames(s) && d.digestNames(t) == d.digestNames(s)) copies++;
    d.copyNumbers(s) = copies;
    return counter;
}

bool readSampleNames(StepData& d) {
    std::ifstream names(d.namesPath.c_str());
    if (!names) {
        std::cerr << "ERROR: can't open " << d.namesPath << std::endl;
        zeExit(1);
    }
    dbString header;
    names >> header;
    names >> std::ws;
    if (header != "NAMES") {
        std::cerr << "ERROR: wrong header for names file '" << d.namesPath << "'" << std::endl;
        return false;
    }
    d.cloneNames.resize(0, d.samples - 1);
    d.digestNames.resize(0, d.samples - 1);
    d.copyNumbers.resize(0, d.samples - 1);
    int cloneCounter = 0;
    NamesEntry e;
    for (int s = 0; s < d.samples; s++) {
        if (!readNamesEntry(names, e)) {
            std::cerr << "ERROR: reading " << d.namesPath << std::endl;
            zeExit(1);
        }
        nameSample(d, s, e, cloneCounter);
    }
    return true;
}
