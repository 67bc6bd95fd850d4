#include "zeOutputRegistry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "zeError.h"
#include "zeExit.h"
#include "zeSignalCleanup.h"

namespace {

std::vector<std::string>& unfinishedOutputs() {
    static std::vector<std::string> paths;
    return paths;
}

} // namespace

bool removeIfRegularFile(const char* path) {
    struct stat status;
    if (lstat(path, &status) != 0 || !S_ISREG(status.st_mode)) return false;
    return unlink(path) == 0;
}

void beginOutput(const std::string& path) {
    unfinishedOutputs().push_back(path);
    watchOutput(path.c_str());
}

void endOutput(const std::string& path) {
    std::vector<std::string>& paths = unfinishedOutputs();
    paths.erase(std::remove(paths.begin(), paths.end(), path), paths.end());
    unwatchOutput(path.c_str());
}

void forgetOutputs() {
    unfinishedOutputs().clear();
    unwatchAllOutputs();
}

int writeErrorNumber() {
    return errno != 0 ? errno : EIO;
}

void reportWriteFailure(const std::string& path, int err) {
    printError(withReason("couldn't write '" + path + "'", err));
}

void removeUnfinishedAndExit() {
    std::vector<std::string> paths;
    paths.swap(unfinishedOutputs());
    for (const std::string& p : paths)
        removeIfRegularFile(p.c_str());
    zeExit(1);
}

void writeFailed(const std::string& path, int err) {
    reportWriteFailure(path, err);
    removeIfRegularFile(path.c_str());
    removeUnfinishedAndExit();
}
