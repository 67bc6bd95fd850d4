#include "zeWriteCheck.h"

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

void reportWriteFailure(const std::string& path, int err) {
    printError(withReason("couldn't write '" + path + "'", err));
}

[[noreturn]] void removeUnfinishedAndExit() {
    std::vector<std::string> paths;
    paths.swap(unfinishedOutputs());
    for (const std::string& p : paths)
        removeIfRegularFile(p.c_str());
    zeExit(1);
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
    reportWriteFailure(path, err);
    removeIfRegularFile(path.c_str());
    removeUnfinishedAndExit();
}

int writeErrorNumber() {
    return errno != 0 ? errno : EIO;
}

CheckedOutput::CheckedOutput(FILE* stream, const std::string& path, bool ownFile,
                             OnWriteFailure onFailure)
    : stream(stream), path(path), ownFile(ownFile), onFailure(onFailure) {}

CheckedOutput::CheckedOutput(CheckedOutput&& other) noexcept
    : stream(other.stream), path(other.path), ownFile(other.ownFile), onFailure(other.onFailure),
      failedErrno(other.failedErrno) {
    other.stream = nullptr;
    other.ownFile = false;
}

CheckedOutput::~CheckedOutput() {
    if (ownFile && stream) fclose(stream);
}

CheckedOutput CheckedOutput::standardOutput(const std::string& label, OnWriteFailure onFailure) {
    return CheckedOutput(stdout, label, false, onFailure);
}

CheckedOutput CheckedOutput::file(const std::string& path, OnWriteFailure onFailure) {
    // Listed before it exists, so that an interrupt in between never leaves
    // an empty file behind.
    beginOutput(path);
    errno = 0;
    FILE* f = fopen(path.c_str(), "wb");
    int err = writeErrorNumber();
    CheckedOutput out(f, path, f != nullptr, onFailure);
    if (!f) {
        endOutput(path);
        out.fail(err);
    }
    return out;
}

bool CheckedOutput::fail(int err) {
    if (failedErrno != 0) return false;
    failedErrno = err;
    if (onFailure == OnWriteFailure::EndProcess && ownFile) writeFailed(path, err);
    reportWriteFailure(path, err);
    // Standard output is never removed, whatever its label names.
    if (onFailure == OnWriteFailure::EndProcess) removeUnfinishedAndExit();
    if (ownFile) {
        // Half a file must not pass for a complete one.
        removeIfRegularFile(path.c_str());
        endOutput(path);
    }
    return false;
}

bool CheckedOutput::write(const std::string& bytes) {
    if (!ok()) return false;
    errno = 0;
    if (fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size()) return fail(writeErrorNumber());
    return true;
}

bool CheckedOutput::finish() {
    if (stream) {
        FILE* f = stream;
        stream = nullptr;
        errno = 0;
        if (ok() && fflush(f) != 0) fail(writeErrorNumber());
        if (ok() && ferror(f)) fail(EIO);
        errno = 0;
        int closed = fclose(f);
        int err = writeErrorNumber();
        if (ok() && closed != 0) fail(err);
    }
    if (ok() && ownFile) endOutput(path);
    return ok();
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
