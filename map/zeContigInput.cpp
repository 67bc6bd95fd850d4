#include "zeContigInput.h"

#include <algorithm>
#include <iostream>
#include <tuple>

#include "zeBandsFile.h"
#include "zeInputChecks.h"

bool readContigInput(const std::vector<std::string>& files, std::vector<Fingerprint>& prints,
                     std::string& error) {
    GelNumberFiles gelNumbers;
    for (const std::string& path : files) {
        size_t from = prints.size();
        std::vector<std::string> warnings;
        bool read = readBandsFile(path, prints, error, &warnings);
        for (const std::string& warning : warnings)
            std::cerr << warning << std::endl;
        if (!read) return false;
        gelNumbers.add(path, prints, from, std::cerr);
    }
    std::sort(prints.begin(), prints.end(), [](const Fingerprint& a, const Fingerprint& b) {
        return std::tie(a.clone, a.gel, a.ordinal, a.bands) <
               std::tie(b.clone, b.gel, b.ordinal, b.bands);
    });
    return true;
}
