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

bool inputsAreDistinct(const std::vector<std::string>& files, const std::string& page,
                       std::string& error) {
    std::vector<FileIdentity> ids;
    for (const std::string& path : files)
        ids.push_back(identify(path));
    FileIdentity pageId = page.empty() ? FileIdentity() : identify(page);
    for (size_t i = 0; i < files.size(); i++) {
        if (ids[i] == pageId) {
            error = "the page '" + page + "' is the bands file '" + files[i] +
                    "': it would be written over";
            return false;
        }
        for (size_t j = 0; j < i; j++)
            if (ids[i] == ids[j]) {
                error = files[j] == files[i]
                            ? "the bands file '" + files[i] + "' is given twice"
                            : "the bands files '" + files[j] + "' and '" + files[i] +
                                  "' are one file, given twice";
                return false;
            }
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
