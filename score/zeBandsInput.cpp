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
        // Most likely the wrong file, or a gel whose samples all went unnamed.
        if (prints.size() == from)
            warnings << "WARNING: '" << path << "' holds no fingerprints" << std::endl;
        gelNumbers.add(path, prints, from, warnings);
    }
    return true;
}
