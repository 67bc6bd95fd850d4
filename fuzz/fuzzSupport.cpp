#include "fuzzSupport.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <streambuf>
#include <utility>

#include "zeExit.h"

namespace {

[[noreturn]] void throwExit(int status) { throw FuzzExit{status}; }

// Swallows everything written to it.
class NullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return c == EOF ? 0 : c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Never destroyed: std::cout is flushed at exit after static objects of
// this file are gone.
NullBuffer* nullBuffer = nullptr;
std::string scratch;
pid_t scratchOwner = 0;

void removeScratch() {
    // Forked children (none expected) must not remove the parent's directory.
    if (!scratch.empty() && getpid() == scratchOwner) removeTree(scratch);
}

} // namespace

void fuzzInit() {
    static bool done = false;
    if (done) {
        setExitHandler(throwExit);
        return;
    }
    done = true;
    setExitHandler(throwExit);
    const char* verbose = getenv("ZE_FUZZ_VERBOSE");
    if (!verbose || strcmp(verbose, "1") != 0) {
        nullBuffer = new NullBuffer;
        std::cout.rdbuf(nullBuffer);
        std::cerr.rdbuf(nullBuffer);
    }
}

const std::string& scratchDir() {
    if (scratch.empty()) {
        char templ[] = "/tmp/zefuzz.XXXXXX";
        if (!mkdtemp(templ)) {
            perror("mkdtemp");
            abort();
        }
        scratch = templ;
        scratchOwner = getpid();
        atexit(removeScratch);
    }
    return scratch;
}

void writeFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        perror(path.c_str());
        abort();
    }
    if (size > 0 && fwrite(data, 1, size, f) != size) abort();
    fclose(f);
}

void writeFile(const std::string& path, const std::string& bytes) {
    writeFile(path, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

void clearDir(const std::string& dir) {
    DIR* d = opendir(dir.c_str());
    if (!d) return;
    std::vector<std::string> names;
    while (dirent* e = readdir(d)) {
        if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0) names.push_back(e->d_name);
    }
    closedir(d);
    for (const std::string& name : names)
        removeTree(dir + "/" + name);
}

void removeTree(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return;
    if (S_ISDIR(st.st_mode)) {
        clearDir(path);
        rmdir(path.c_str());
    } else {
        unlink(path.c_str());
    }
}

std::vector<std::string> splitInput(const uint8_t* data, size_t size, const std::string& separator,
                                    size_t maxParts) {
    std::string all(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    size_t from = 0;
    while (parts.size() + 1 < maxParts) {
        size_t at = all.find(separator, from);
        if (at == std::string::npos) break;
        parts.push_back(all.substr(from, at - from));
        from = at + separator.size();
    }
    parts.push_back(all.substr(from));
    return parts;
}

void fuzzFail(const char* what) {
    fprintf(stderr, "fuzz invariant broken: %s\n", what);
    abort();
}

void expectRefusalNames(const std::string& error, const std::string& name) {
    if (error.compare(0, name.size() + 1, name + ":") != 0)
        fuzzFail("a refusal that does not name the file");
}

FuzzCommandLine::FuzzCommandLine(const std::string& program, const uint8_t* data, size_t size) {
    words.push_back(program);
    for (std::string& w : splitInput(data, size, std::string(1, '\0'), 24))
        words.push_back(std::move(w));
    for (std::string& w : words)
        pointers.push_back(&w[0]);
    pointers.push_back(nullptr);
}

void expectUsageHint(const std::string& error, const std::string& program) {
    const std::string hint = " (" + program + " -h for help)";
    if (error.size() <= hint.size() || error.compare(error.size() - hint.size(), hint.size(), hint) != 0)
        fuzzFail("a refusal without its usage hint");
}
