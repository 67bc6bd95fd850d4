// An output that is written whole at the end of a long run but checked at
// its start. begin() creates an empty temporary file beside the target, so
// that a target that cannot be written is found before any work is done;
// finish() writes the bytes into it and renames it over the target. Until
// then an existing target stays as it was, and the temporary is removed
// however the run ends (a failure, an early return, an ending signal). A
// target that is a device or a pipe is opened by begin() and written in
// place instead.
#ifndef ZE_REPLACINGOUTPUT_H
#define ZE_REPLACINGOUTPUT_H

#include <string>

class ReplacingOutput {
  public:
    explicit ReplacingOutput(const std::string& target) : target(target) {}
    ReplacingOutput(const ReplacingOutput&) = delete;
    ReplacingOutput& operator=(const ReplacingOutput&) = delete;
    // Removes a temporary that finish() did not rename.
    ~ReplacingOutput();

    // False after printing "ERROR: couldn't write '<target>': <reason>".
    bool begin();
    // False after printing the same line; the temporary is removed and the
    // target left as it was.
    bool finish(const std::string& bytes);

  private:
    bool fail(int err);
    void discard();
    std::string target;
    std::string temporary; // empty when writing the target in place
    int fd = -1;
};

#endif
