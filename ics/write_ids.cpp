#include "ics.h"

#include <string>

#include "icsFailure.h"
#include "zeWriteCheck.h"

int write_ids(char* name, char* data, int length) {
    // A negative length asks for nothing to be written.
    size_t count = length > 0 ? (size_t)length : 0;
    if (!name) return -2;
    CheckedOutput out = CheckedOutput::file(std::string(name) + ".ids", OnWriteFailure::Quiet);
    if (!out.isOpen()) return icsFailure(out, -2);
    // Buffered bytes reach the file only when it is closed, so a full disk
    // may show up there rather than in the write.
    out.write(data, count);
    if (!out.finish()) return icsFailure(out, -3);
    return 0;
}
