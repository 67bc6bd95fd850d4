#include "ics.h"

#include <cstdio>
#include <string>

int write_ids(char* name, char* data, int length) {
    // A negative length asks for nothing to be written.
    size_t count = length > 0 ? (size_t)length : 0;
    if (!name) return -2;
    std::string path = std::string(name) + ".ids";
    FILE* f = fopen(path.c_str(), "w");
    if (!f) return -2;
    size_t written = count > 0 ? fwrite(data, 1, count, f) : 0;
    // Buffered bytes reach the file only when it is closed, so a full disk
    // may show up there rather than in fwrite.
    bool closed = fclose(f) == 0;
    if (written < count || !closed) return -3;
    return 0;
}
