#include "zeContigInput.h"

#include <algorithm>
#include <iostream>
#include <tuple>

#include "zeBandsInput.h"

void sortContigInput(std::vector<Fingerprint>& prints) {
    std::sort(prints.begin(), prints.end(), [](const Fingerprint& a, const Fingerprint& b) {
        return std::tie(a.clone, a.gel, a.ordinal, a.bands) <
               std::tie(b.clone, b.gel, b.ordinal, b.bands);
    });
}

bool readContigInput(const std::vector<std::string>& files, std::vector<Fingerprint>& prints,
                     std::string& error) {
    if (!readBandsFiles(files, prints, error, std::cerr)) return false;
    sortContigInput(prints);
    return true;
}
