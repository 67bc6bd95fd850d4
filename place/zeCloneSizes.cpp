#include "zeCloneSizes.h"

#include <sys/stat.h>

#include <iostream>

#include "zeBandsFile.h"
#include "zeTextFile.h"

namespace {

std::string headerText(const Fingerprint& f) {
    return f.clone + " " + std::to_string(f.bands.size()) + " " + f.gel;
}

// The line of each block's header in its file: a header, its bands, "-1".
long headerLine(const std::vector<Fingerprint>& blocks, size_t k) {
    long line = 1;
    for (size_t i = 0; i < k; ++i)
        line += 2 + (long)blocks[i].bands.size();
    return line;
}

bool readOne(const std::string& path, std::vector<Fingerprint>& out, std::string& error) {
    std::vector<std::string> warnings;
    bool read = readBandsFile(path, out, error, &warnings);
    for (const std::string& w : warnings)
        std::cerr << w << std::endl;
    return read;
}

} // namespace

std::string sizesPathOf(const std::string& bandsPath) {
    const std::string ending = ".bands";
    if (bandsPath.size() > ending.size() &&
        bandsPath.compare(bandsPath.size() - ending.size(), ending.size(), ending) == 0)
        return bandsPath.substr(0, bandsPath.size() - ending.size()) + ".sizes";
    return bandsPath + ".sizes";
}

std::string sizesMismatch(const std::vector<Fingerprint>& bands,
                          const std::vector<Fingerprint>& sizes, const std::string& bandsPath,
                          const std::string& sizesPath) {
    for (size_t k = 0; k < bands.size() && k < sizes.size(); ++k)
        if (bands[k].clone != sizes[k].clone || bands[k].gel != sizes[k].gel ||
            bands[k].bands.size() != sizes[k].bands.size())
            return sizesPath + ":" + std::to_string(headerLine(sizes, k)) + ": the header '" +
                   shownText(headerText(sizes[k])) + "' differs from '" +
                   shownText(headerText(bands[k])) + "' at " + bandsPath + ":" +
                   std::to_string(headerLine(bands, k)) + ": the size file belongs to other bands";
    if (bands.size() != sizes.size())
        return "'" + sizesPath + "' has " + std::to_string(sizes.size()) + " blocks, its bands file '" +
               bandsPath + "' " + std::to_string(bands.size()) +
               ": the size file belongs to other bands";
    return "";
}

bool readSizedClones(const std::vector<std::string>& bandsFiles, std::vector<SizedClone>& clones,
                     std::string& error) {
    for (const std::string& path : bandsFiles) {
        std::vector<Fingerprint> bands, sizes;
        if (!readOne(path, bands, error)) return false;
        const std::string sizesPath = sizesPathOf(path);
        struct stat st;
        if (stat(sizesPath.c_str(), &st) != 0) {
            error = "the size file '" + sizesPath + "' of '" + path +
                    "' is missing: zePlace needs every band's fragment size (zeStep5 writes it "
                    "for a gel with a size calibration)";
            return false;
        }
        if (!readOne(sizesPath, sizes, error)) return false;
        error = sizesMismatch(bands, sizes, path, sizesPath);
        if (!error.empty()) return false;
        for (size_t k = 0; k < bands.size(); ++k)
            clones.push_back(SizedClone{std::move(bands[k]), std::move(sizes[k].bands)});
    }
    return true;
}
