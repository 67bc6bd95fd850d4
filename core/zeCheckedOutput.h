// An output that cannot fail silently: every write, the final flush and
// the close are checked, and a failure becomes one line
// "ERROR: couldn't write '<path>': <reason>". A file this object created
// and could not complete is removed (a regular file only: never through a
// symbolic link, never a device). Unlike the checks of zeWriteCheck.h it
// does not end the process: the caller reports and returns its status.
#ifndef ZE_CHECKEDOUTPUT_H
#define ZE_CHECKEDOUTPUT_H

#include <cstdio>
#include <string>

class CheckedOutput {
  public:
    // Standard output, named `label` in messages.
    static CheckedOutput standardOutput(const std::string& label);
    // Creates or truncates the file at path; check ok() afterwards.
    static CheckedOutput file(const std::string& path);

    CheckedOutput(CheckedOutput&& other) noexcept;
    CheckedOutput(const CheckedOutput&) = delete;
    CheckedOutput& operator=(const CheckedOutput&) = delete;
    ~CheckedOutput(); // closes a file that finish() did not; removes nothing

    bool ok() const { return failedErrno == 0; }
    bool write(const std::string& bytes);
    // Flushes and closes (standard output too); after a failure anywhere,
    // removes a partial file. False when anything failed.
    bool finish();
    // The ERROR line of the first failure.
    std::string error() const;

  private:
    CheckedOutput(FILE* stream, const std::string& path, bool ownFile);
    void fail(int err);
    FILE* stream;
    std::string path;
    bool ownFile;
    int failedErrno = 0;
};

#endif
