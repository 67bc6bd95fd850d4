#include "zeWriteCheck.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <vector>

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

void writeFailed(const std::string& path, int err) {
    std::cerr << "ERROR: couldn't write '" << path << "': " << strerror(err) << std::endl;
    std::vector<std::string> paths;
    paths.swap(unfinishedOutputs());
    paths.push_back(path);
    for (const std::string& p : paths)
        removeIfRegularFile(p.c_str());
    zeExit(1);
}

int writeErrorNumber() {
    return errno != 0 ? errno : EIO;
}

void checkWritten(const std::ostream& out, const std::string& path) {
    if (!out) writeFailed(path, writeErrorNumber());
}

void closeWritten(std::ofstream& out, const std::string& path) {
    checkWritten(out, path);
    errno = 0;
    out.flush();
    checkWritten(out, path);
    out.close();
    checkWritten(out, path);
    endOutput(path);
}

void checkWritten(FILE* f, const std::string& path) {
    if (ferror(f)) writeFailed(path, writeErrorNumber());
}

void closeWritten(FILE*& f, const std::string& path) {
    // An earlier failed write left its error number; the flush may fail anew.
    int earlier = errno;
    errno = 0;
    int err = 0;
    if (fflush(f) != 0) err = writeErrorNumber();
    else if (ferror(f)) err = earlier != 0 ? earlier : EIO;
    errno = 0;
    if (fclose(f) != 0 && err == 0) err = writeErrorNumber();
    f = nullptr;
    if (err != 0) writeFailed(path, err);
    endOutput(path);
}
