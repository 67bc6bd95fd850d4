#include "zeWriteCheck.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <utility>

#include "zeError.h"

CheckedOutput::CheckedOutput(FILE* stream, const std::string& path, bool ownFile,
                             OnWriteFailure onFailure)
    : stream(stream), path(path), ownFile(ownFile), onFailure(onFailure) {}

CheckedOutput::CheckedOutput(CheckedOutput&& other) noexcept
    : stream(other.stream), path(std::move(other.path)), ownFile(other.ownFile),
      replaces(other.replaces), replacement(std::move(other.replacement)),
      onFailure(other.onFailure), failedErrno(other.failedErrno) {
    other.stream = nullptr;
    other.ownFile = false;
    other.replaces = false;
    other.replacement = Replacement();
}

CheckedOutput& CheckedOutput::operator=(CheckedOutput&& other) noexcept {
    if (this == &other) return *this;
    closeUnchecked();
    stream = other.stream;
    path = std::move(other.path);
    ownFile = other.ownFile;
    replaces = other.replaces;
    replacement = std::move(other.replacement);
    onFailure = other.onFailure;
    failedErrno = other.failedErrno;
    other.stream = nullptr;
    other.ownFile = false;
    other.replaces = false;
    other.replacement = Replacement();
    return *this;
}

CheckedOutput::~CheckedOutput() {
    closeUnchecked();
}

void CheckedOutput::closeUnchecked() {
    if (ownFile && stream) fclose(stream);
    stream = nullptr;
    // The target is left as it was.
    if (replaces) endReplacement(replacement, true);
}

CheckedOutput CheckedOutput::standardOutput(const std::string& label, OnWriteFailure onFailure) {
    return CheckedOutput(stdout, label, false, onFailure);
}

CheckedOutput CheckedOutput::ofStream(FILE* stream, const std::string& label,
                                      OnWriteFailure onFailure) {
    return CheckedOutput(stream, label, false, onFailure);
}

FILE* CheckedOutput::create(const std::string& path, int& err) {
    // Listed before it exists, so that an interrupt in between never leaves
    // an empty file behind.
    beginOutput(path);
    errno = 0;
    FILE* f = fopen(path.c_str(), "wb");
    err = writeErrorNumber();
    if (!f) endOutput(path);
    return f;
}

CheckedOutput CheckedOutput::file(const std::string& path, OnWriteFailure onFailure) {
    int err = 0;
    FILE* f = create(path, err);
    CheckedOutput out(f, path, f != nullptr, onFailure);
    if (!f) out.fail(err);
    return out;
}

CheckedOutput CheckedOutput::tryFile(const std::string& path, OnWriteFailure onFailure) {
    int err = 0;
    FILE* f = create(path, err);
    CheckedOutput out(f, path, f != nullptr, onFailure);
    if (!f) out.failedErrno = err;
    return out;
}

CheckedOutput CheckedOutput::replacing(const std::string& path, OnWriteFailure onFailure) {
    CheckedOutput out(nullptr, path, false, onFailure);
    int err = 0;
    int fd = openReplacement(path, out.replacement, err);
    out.replaces = true;
    if (fd >= 0) {
        out.stream = fdopen(fd, "wb");
        err = errno;
        if (!out.stream) close(fd);
    }
    out.ownFile = out.stream != nullptr;
    if (!out.stream) {
        endReplacement(out.replacement, true);
        out.failedErrno = err != 0 ? err : EIO;
    }
    return out;
}

std::string CheckedOutput::failureText() const {
    return withReason("couldn't write '" + path + "'", failedErrno);
}

// Half a file must not pass for a complete one; a replaced target is left
// as it was.
void CheckedOutput::removeUnfinished() {
    if (!ownFile) return;
    if (replaces) {
        endReplacement(replacement, true);
        return;
    }
    removeIfRegularFile(path.c_str());
    endOutput(path);
}

bool CheckedOutput::fail(int err) {
    if (failedErrno != 0) return false;
    failedErrno = err;
    if (onFailure != OnWriteFailure::Quiet) reportWriteFailure(path, err);
    removeUnfinished();
    // Standard output is never removed, whatever its label names.
    if (onFailure == OnWriteFailure::EndProcess) removeUnfinishedAndExit();
    return false;
}

bool CheckedOutput::write(const std::string& bytes) {
    return write(bytes.data(), bytes.size());
}

// A stream may keep bytes it failed to hand on and still count them as
// written, so its error flag is checked as well as the count.
bool CheckedOutput::write(const void* data, size_t size) {
    if (!ok() || !stream) return false;
    errno = 0;
    if (fwrite(data, 1, size, stream) != size || ferror(stream)) return fail(writeErrorNumber());
    return true;
}

bool CheckedOutput::writef(const char* format, ...) {
    if (!ok() || !stream) return false;
    va_list args;
    va_start(args, format);
    errno = 0;
    int written = vfprintf(stream, format, args);
    va_end(args);
    if (written < 0 || ferror(stream)) return fail(writeErrorNumber());
    return true;
}

bool CheckedOutput::flush() {
    if (!ok() || !stream) return false;
    errno = 0;
    if (fflush(stream) != 0) return fail(writeErrorNumber());
    return true;
}

void CheckedOutput::setBuffer(char* buffer, size_t size) {
    if (stream) setvbuf(stream, buffer, _IOFBF, size);
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
        errno = 0;
        if (ok() && replaces && !replacement.temporary.empty() &&
            rename(replacement.temporary.c_str(), replacement.replaced.c_str()) != 0)
            fail(writeErrorNumber());
    }
    if (ok() && ownFile) {
        if (replaces)
            endReplacement(replacement, false);
        else
            endOutput(path);
    }
    return ok();
}

bool CheckedOutput::finishWith(const std::string& bytes) {
    write(bytes);
    return finish();
}

bool CheckedOutput::setPermissionBits(unsigned mode) {
    if (!stream) {
        errno = EBADF;
        return false;
    }
    struct stat st;
    int fd = fileno(stream);
    if (fstat(fd, &st) != 0) return false;
    // Only the permission bits: the file type bits are not ours to set.
    return !S_ISREG(st.st_mode) || fchmod(fd, (mode_t)(mode & 07777)) == 0;
}

void CheckedOutput::discard() {
    removeUnfinished();
    closeUnchecked();
    ownFile = false;
    // What is given up is not complete.
    if (failedErrno == 0) failedErrno = ECANCELED;
}
