// Checked output: every output of zeStep5, zeReport and zeCompare is
// opened, written, flushed and closed with each step checked, so that no
// output is ever left cut short while looking complete. A failure prints one line
// "ERROR: couldn't write '<path>': <reason>" (the reason from the error
// number of the failing call) and removes the partial file. The caller
// chooses what happens next: the output reports and returns false, or it
// also removes every other unfinished output and ends the process with
// status 1.
//
// Every output file being written is registered (beginOutput) from its
// opening until it is complete (endOutput), so that whatever ends the
// process early can remove the files it leaves unfinished.
#ifndef ZE_WRITECHECK_H
#define ZE_WRITECHECK_H

#include <cstdio>
#include <fstream>
#include <string>

// Removes path when it is a regular file; never follows a symbolic link
// and never touches a device, pipe or directory. True when it was removed.
bool removeIfRegularFile(const char* path);

// Outputs being written: a failed write removes all of them, since a file
// still open has not been completed, and so does an ending signal
// (zeSignalCleanup.h). endOutput forgets one again. Begin an output before
// creating it, so that no moment leaves it created but unlisted.
void beginOutput(const std::string& path);
void endOutput(const std::string& path);
// Forgets every output: those still open are left as they stand (the work
// that wrote them has ended early and said so).
void forgetOutputs();

// What a failed output does after its ERROR line and the removal of its
// partial file.
enum class OnWriteFailure {
    ReturnFalse, // the caller goes on and decides its exit status
    EndProcess,  // every unfinished output is removed; exit status 1
};

// The message for path and error number err, then the unfinished outputs
// (and path itself) removed when they are regular files; ends the process
// with status 1 (through zeExit).
[[noreturn]] void writeFailed(const std::string& path, int err);

// The error number a failed output call left, or EIO when it left none.
int writeErrorNumber();

// An output written through this object: the file is created (or standard
// output taken) by the factory, then written, and finish() flushes and
// closes it. The first failure anywhere is handled as `onFailure` says;
// with ReturnFalse, later calls do nothing and return false.
class CheckedOutput {
  public:
    // Standard output, named `label` in messages; it is never removed.
    static CheckedOutput standardOutput(const std::string& label, OnWriteFailure onFailure);
    // Creates or truncates the file at path and registers it as an output.
    static CheckedOutput file(const std::string& path, OnWriteFailure onFailure);

    CheckedOutput(CheckedOutput&& other) noexcept;
    CheckedOutput(const CheckedOutput&) = delete;
    CheckedOutput& operator=(const CheckedOutput&) = delete;
    // Closes a file that finish() did not close; removes nothing.
    ~CheckedOutput();

    bool ok() const { return failedErrno == 0; }
    bool write(const std::string& bytes);
    // Flushes and closes (standard output too: some file systems report a
    // failed write only then); the file is then complete (endOutput).
    bool finish();

  private:
    CheckedOutput(FILE* stream, const std::string& path, bool ownFile, OnWriteFailure onFailure);
    bool fail(int err);
    FILE* stream;
    std::string path;
    bool ownFile;
    OnWriteFailure onFailure;
    int failedErrno = 0;
};

// The same checks on streams the step writes with formatted output; a
// failure ends the process. checkWritten ends it when the stream has
// failed; closeWritten flushes and closes, checking both, then forgets
// path as an output. closeWritten leaves a stdio file closed (and null).
void checkWritten(const std::ostream& out, const std::string& path);
void closeWritten(std::ofstream& out, const std::string& path);
void checkWritten(FILE* f, const std::string& path);
void closeWritten(FILE*& f, const std::string& path);

#endif
