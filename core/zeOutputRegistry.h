// The outputs being written: every output file is registered (beginOutput)
// from its opening until it is complete (endOutput), so that whatever ends
// the process early can remove the files it leaves unfinished: a failed
// write (writeFailed) and an ending signal (zeSignalCleanup.h) alike.
#ifndef ZE_OUTPUTREGISTRY_H
#define ZE_OUTPUTREGISTRY_H

#include <string>

// Removes path when it is a regular file; never follows a symbolic link
// and never touches a device, pipe or directory. True when it was removed.
bool removeIfRegularFile(const char* path);

// A failed write removes every output listed, since a file still open has
// not been completed. endOutput forgets one again. Begin an output before
// creating it, so that no moment leaves it created but unlisted.
void beginOutput(const std::string& path);
void endOutput(const std::string& path);
// Forgets every output: those still open are left as they stand (the work
// that wrote them has ended early and said so).
void forgetOutputs();

// The error number a failed output call left, or EIO when it left none.
int writeErrorNumber();

// The line "ERROR: couldn't write '<path>': <reason>" for error number err.
void reportWriteFailure(const std::string& path, int err);

// Removes the unfinished outputs that are regular files and ends the
// process with status 1 (through zeExit).
[[noreturn]] void removeUnfinishedAndExit();

// The message for path and error number err, then path itself and the
// unfinished outputs removed when they are regular files; ends the process
// with status 1.
[[noreturn]] void writeFailed(const std::string& path, int err);

#endif
