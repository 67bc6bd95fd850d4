// An output file that replaces its target only when complete: it is
// written under a temporary name beside the target and renamed over it at
// the end, so that a failed or interrupted run leaves the previous complete
// file, never half of a new one. The temporary file is created at once, so
// that a place that cannot be written is found before any work is done, and
// it is registered as an unfinished output (zeOutputRegistry.h), so that an
// ending signal removes it; so does exit() (a reader's fatal error). Where
// the target is a symbolic link, the file it points to is replaced and the
// link stays. The new file has the
// permission bits of the one it replaces, or those of a new file. A target
// that is no regular file (a device such as /dev/null, a named pipe) is
// written in place: there is no file to replace, and nothing is removed.
#ifndef ZE_REPLACEDFILE_H
#define ZE_REPLACEDFILE_H

#include <cstdio>
#include <string>

class ReplacedFile {
  public:
    // False with `error` set (the text of an ERROR line) when the
    // temporary file cannot be created.
    bool open(const std::string& target, std::string& error);
    // Writes everything, flushes, closes and renames over the target;
    // false with `error` set on any failure, leaving the target as it was.
    bool commit(const std::string& bytes, std::string& error);

    ReplacedFile() = default;
    ReplacedFile(const ReplacedFile&) = delete;
    ReplacedFile& operator=(const ReplacedFile&) = delete;
    // Removes the temporary file when it was not committed.
    ~ReplacedFile();

  private:
    bool openInPlace(std::string& error);
    void discard();
    std::string target, replaced, temporary;
    FILE* stream = nullptr;
};

#endif
