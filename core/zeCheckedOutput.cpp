#include "zeCheckedOutput.h"

#include <cerrno>
#include <cstring>

#include "zeWriteCheck.h"

CheckedOutput::CheckedOutput(FILE* stream, const std::string& path, bool ownFile)
    : stream(stream), path(path), ownFile(ownFile) {}

CheckedOutput::CheckedOutput(CheckedOutput&& other) noexcept
    : stream(other.stream), path(other.path), ownFile(other.ownFile),
      failedErrno(other.failedErrno) {
    other.stream = nullptr;
}

CheckedOutput::~CheckedOutput() {
    if (ownFile && stream) {
        fclose(stream);
        endOutput(path);
    }
}

CheckedOutput CheckedOutput::standardOutput(const std::string& label) {
    return CheckedOutput(stdout, label, false);
}

CheckedOutput CheckedOutput::file(const std::string& path) {
    beginOutput(path);
    errno = 0;
    FILE* f = fopen(path.c_str(), "wb");
    CheckedOutput out(f, path, true);
    if (!f) {
        out.fail(errno ? errno : EIO);
        endOutput(path);
    }
    return out;
}

void CheckedOutput::fail(int err) {
    if (failedErrno == 0) failedErrno = err ? err : EIO;
}

bool CheckedOutput::write(const std::string& bytes) {
    if (!ok()) return false;
    errno = 0;
    if (fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size()) fail(errno);
    return ok();
}

bool CheckedOutput::finish() {
    if (stream) {
        errno = 0;
        if (ok() && fflush(stream) != 0) fail(errno);
        if (ok() && ferror(stream)) fail(errno);
        // Standard output is closed too: some file systems report a failed
        // write only then. Nothing is written to it afterwards.
        errno = 0;
        if (fclose(stream) != 0) fail(errno);
        stream = nullptr;
    }
    if (!ok() && ownFile) removeIfRegularFile(path.c_str());
    if (ownFile) endOutput(path);
    return ok();
}

std::string CheckedOutput::error() const {
    return "ERROR: couldn't write '" + path + "': " + strerror(failedErrno);
}
