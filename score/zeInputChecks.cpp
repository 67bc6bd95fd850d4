#include "zeInputChecks.h"

#include <set>

#include <sys/stat.h>

namespace {

struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity& o) const {
        return exists && o.exists && device == o.device && inode == o.inode;
    }
};

// stat follows symbolic links, so a link and its target are one file.
FileIdentity identify(const std::string& path) {
    FileIdentity id;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return id;
    id.exists = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    return id;
}

} // namespace

bool sameFile(const std::string& a, const std::string& b) {
    return identify(a) == identify(b);
}

bool inputsAreDistinct(const std::vector<std::string>& files, const std::string& page,
                       std::string& error) {
    return inputsAreDistinct(files, std::vector<NamedOutput>{{"page", page}}, error);
}

bool inputsAreDistinct(const std::vector<std::string>& files,
                       const std::vector<NamedOutput>& outputs, std::string& error) {
    std::vector<FileIdentity> ids;
    for (const std::string& path : files)
        ids.push_back(identify(path));
    std::vector<FileIdentity> outputIds;
    for (const NamedOutput& o : outputs)
        outputIds.push_back(o.path.empty() ? FileIdentity() : identify(o.path));
    for (size_t k = 0; k < outputs.size(); k++) {
        for (size_t i = 0; i < files.size(); i++)
            if (ids[i] == outputIds[k]) {
                error = "the " + outputs[k].kind + " '" + outputs[k].path + "' is the bands file '" +
                        files[i] + "': it would be written over";
                return false;
            }
        for (size_t j = 0; j < k; j++)
            if (!outputs[k].path.empty() &&
                (outputs[j].path == outputs[k].path || outputIds[j] == outputIds[k])) {
                error = "the " + outputs[j].kind + " and the " + outputs[k].kind + " are one file, '" +
                        outputs[k].path + "'";
                return false;
            }
    }
    for (size_t i = 0; i < files.size(); i++)
        for (size_t j = 0; j < i; j++)
            if (ids[i] == ids[j]) {
                error = files[j] == files[i]
                            ? "the bands file '" + files[i] + "' is given twice"
                            : "the bands files '" + files[j] + "' and '" + files[i] +
                                  "' are one file, given twice";
                return false;
            }
    return true;
}

void GelNumberFiles::add(const std::string& path, const std::vector<Fingerprint>& prints,
                         size_t from, std::ostream& warnings) {
    std::set<std::string> warned;
    for (size_t k = from; k < prints.size(); k++) {
        const std::string& gel = prints[k].gel;
        auto known = firstFile.emplace(gel, path).first;
        if (known->second == path || !warned.insert(gel).second) continue;
        warnings << "WARNING: gel number '" << gel << "' is in both '" << known->second
                 << "' and '" << path << "'" << std::endl;
    }
}
