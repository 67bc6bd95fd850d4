// The temporary file an output that replaces its target is written to: it
// lies beside the file the target names (through symbolic links, so that a
// link stays a link), and it is renamed over that file only when complete.
// Until then it is listed as an unfinished output (zeOutputRegistry.h), so
// that an ending signal removes it, and also removed by exit() (a reader's
// fatal error), so that none outlives the process.
#ifndef ZE_REPLACEMENT_H
#define ZE_REPLACEMENT_H

#include <string>

struct Replacement {
    std::string replaced;  // the file renamed over at the end
    std::string temporary; // the file written; empty when the target is written in place
};

// Opens what `target` is written to and returns its descriptor (written
// only, closed on exec), or -1 with `err` set. A target that exists and is
// no regular file (a device such as /dev/null, a named pipe) is opened in
// place: there is no file to replace. Otherwise a new temporary file gets
// the permission bits of the file it replaces, or those of a new file; a
// file that could not be written in place is not replaced either.
int openReplacement(const std::string& target, Replacement& r, int& err);

// The temporary file is done with: renamed (it is then no longer there) or
// to be removed (`remove`). Either way it is no longer listed.
void endReplacement(Replacement& r, bool remove);

#endif
