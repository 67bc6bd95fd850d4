#include "zeBandsInput.h"

#include "zeBandsFile.h"
#include "zeInputChecks.h"

bool readBandsFiles(const std::vector<std::string>& files, std::vector<Fingerprint>& prints,
                    std::string& error, std::ostream& warnings) {
    GelNumberFiles gelNumbers;
    for (const std::string& path : files) {
        size_t from = prints.size();
        std::vector<std::string> fileWarnings;
        bool read = readBandsFile(path, prints, error, &fileWarnings);
        for (const std::string& warning : fileWarnings)
            warnings << warning << std::endl;
        if (!read) return false;
        gelNumbers.add(path, prints, from, warnings);
    }
    return true;
}
