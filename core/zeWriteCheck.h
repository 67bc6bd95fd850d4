// Checked output: every output file of the package's programs is opened,
// written, flushed and closed through CheckedOutput, each step checked, so
// that no output is ever left cut short while looking complete. A file is
// written in place, or written beside its target and renamed over it when
// complete (replacing), so that a failed run leaves the previous file.
// A failure prints one line "ERROR: couldn't write '<path>': <reason>" (the
// reason from the error number of the failing call) and removes the partial
// file. The caller chooses what happens next: the output reports and
// returns false, or it also removes every other unfinished output and ends
// the process with status 1; a writer that reports by a result of its own
// has the message left out.
#ifndef ZE_WRITECHECK_H
#define ZE_WRITECHECK_H

#include <cstddef>
#include <cstdio>
#include <string>

#include "zeOutputRegistry.h"
#include "zeReplacement.h"

// What a failed output does after the removal of its partial file.
enum class OnWriteFailure {
    ReturnFalse, // the ERROR line; the caller goes on and decides its exit status
    EndProcess,  // the ERROR line; every unfinished output is removed; exit status 1
    Quiet,       // no message: the caller reports, from errorNumber()
};

// An output written through this object: the file is created (or standard
// output taken) by a factory, then written, and finish() flushes and
// closes it. The first failure anywhere is handled as `onFailure` says;
// with ReturnFalse or Quiet, later calls do nothing and return false.
class CheckedOutput {
  public:
    // Standard output, named `label` in messages; it is never removed.
    static CheckedOutput standardOutput(const std::string& label, OnWriteFailure onFailure);
    // The same for any open stream (a stream in memory, say), which
    // finish() closes.
    static CheckedOutput ofStream(FILE* stream, const std::string& label, OnWriteFailure onFailure);
    // Creates or truncates the file at path and registers it as an output
    // (beginOutput); a file that cannot be created is a failure.
    static CheckedOutput file(const std::string& path, OnWriteFailure onFailure);
    // The same, but a file that cannot be created is the caller's to
    // report: the output is then not open and has failed (errorNumber()),
    // with nothing printed, removed or ended; its writes do nothing.
    static CheckedOutput tryFile(const std::string& path, OnWriteFailure onFailure);
    // An output that replaces the file at path only when complete: it is
    // written to a temporary file (zeReplacement.h) that finish() renames
    // over the target. Created at once, so that a place that cannot be
    // written is found before any work is done; that failure is the
    // caller's to report, as with tryFile (failureText()). A failed or
    // unfinished output leaves the target as it was.
    static CheckedOutput replacing(const std::string& path, OnWriteFailure onFailure);

    // No output: not open, and nothing to finish.
    CheckedOutput() = default;
    CheckedOutput(CheckedOutput&& other) noexcept;
    CheckedOutput& operator=(CheckedOutput&& other) noexcept;
    CheckedOutput(const CheckedOutput&) = delete;
    CheckedOutput& operator=(const CheckedOutput&) = delete;
    // Closes a file that finish() did not close; removes nothing but the
    // temporary file of a replacing output.
    ~CheckedOutput();

    bool isOpen() const { return stream != nullptr; }
    bool ok() const { return failedErrno == 0; }
    // The error number of the first failure, 0 while there was none.
    int errorNumber() const { return failedErrno; }
    // "couldn't write '<path>': <reason>", the text of the ERROR line for
    // the first failure.
    std::string failureText() const;

    // Each false when the output has failed or is not open.
    bool write(const std::string& bytes);
    bool write(const void* data, size_t size);
    // printf-style text.
    bool writef(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Hands what is buffered to the system now, so that a failure shows
    // here and the bytes so far stay in the file if the process ends.
    bool flush();
    // A buffer of `size` bytes for the stream, set before the first write;
    // it must outlive the output.
    void setBuffer(char* buffer, size_t size);
    // Flushes and closes (standard output too: some file systems report a
    // failed write only then), and renames a replacing output over its
    // target; the file is then complete (endOutput).
    bool finish();
    // write(bytes), then finish(): an output made whole in memory first.
    bool finishWith(const std::string& bytes);
    // Gives the file the permission bits of `mode` (nothing for a device
    // or pipe, which the whole system shares); false with errno set.
    bool setPermissionBits(unsigned mode);
    // Gives the output up unfinished: closed unchecked and its file
    // removed (a replaced target is left as it was).
    void discard();

  private:
    CheckedOutput(FILE* stream, const std::string& path, bool ownFile, OnWriteFailure onFailure);
    static FILE* create(const std::string& path, int& err);
    void closeUnchecked();
    void removeUnfinished();
    bool fail(int err);
    FILE* stream = nullptr;
    std::string path;
    bool ownFile = false;
    bool replaces = false;
    Replacement replacement;
    OnWriteFailure onFailure = OnWriteFailure::ReturnFalse;
    int failedErrno = 0;
};

#endif
