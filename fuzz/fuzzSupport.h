// What every fuzz harness shares: a scratch directory of its own, files
// written from the fuzz input, and an exit handler that turns the library's
// fatal "ERROR: ..., exit 1" into an exception the harness catches, so an
// intended exit is not mistaken for a crash.
#ifndef ZE_FUZZ_SUPPORT_H
#define ZE_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Thrown by the installed exit handler instead of ending the process.
struct FuzzExit {
    int status;
};

// Installs the exit handler and silences std::cout / std::cerr (set
// ZE_FUZZ_VERBOSE=1 to see them). Cheap to call on every input.
void fuzzInit();

// A directory under /tmp that belongs to this process, created on first use
// and removed with its contents when the process ends normally.
const std::string& scratchDir();

void writeFile(const std::string& path, const uint8_t* data, size_t size);
void writeFile(const std::string& path, const std::string& bytes);
// Removes path and, for a directory, everything below it; no shell.
void removeTree(const std::string& path);
// Empties dir, leaving the directory itself.
void clearDir(const std::string& dir);

// Splits data at every occurrence of separator, at most maxParts parts (the
// last part keeps any further separators).
std::vector<std::string> splitInput(const uint8_t* data, size_t size, const std::string& separator,
                                    size_t maxParts);

// The next 32 bits of xorshift32 from state (never 0): a harness draws a
// whole genome from one byte of its input, so that short inputs already
// hold libraries. The committed corpora depend on this very sequence.
inline uint32_t xorshiftNext(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// The first state of xorshiftNext from one byte of the input.
inline uint32_t xorshiftSeed(uint8_t byte) {
    return 2463534242u ^ (uint32_t)byte * 2654435761u;
}

// Takes bytes off the front of the input for harness parameters; zero once
// the input is used up.
class InputCursor {
  public:
    InputCursor(const uint8_t* data, size_t size) : data(data), size(size) {}
    uint8_t takeByte() {
        if (size == 0) return 0;
        size--;
        return *data++;
    }
    const uint8_t* rest() const { return data; }
    size_t restSize() const { return size; }

  private:
    const uint8_t* data;
    size_t size;
};

// Crashes (so the fuzzer records the input) when an invariant the harness
// checks is broken.
[[noreturn]] void fuzzFail(const char* what);

// Fails unless a reader's refusal begins with the name of what it read and
// a colon ("<name>:<line>: ...").
void expectRefusalNames(const std::string& error, const std::string& name);

// The input as a program's command line: the program's name, then the
// input's pieces between NUL bytes (at most 24 arguments), as main reads
// argv.
class FuzzCommandLine {
  public:
    FuzzCommandLine(const std::string& program, const uint8_t* data, size_t size);
    FuzzCommandLine(const FuzzCommandLine&) = delete;
    FuzzCommandLine& operator=(const FuzzCommandLine&) = delete;
    int argc() const { return (int)pointers.size() - 1; }
    char** argv() { return pointers.data(); }

  private:
    std::vector<std::string> words; // the program's name first
    std::vector<char*> pointers;    // into words, then a null pointer
};

// Fails unless a refusal of a command line ends with the program's usage
// hint, " (<program> -h for help)".
void expectUsageHint(const std::string& error, const std::string& program);

#endif
