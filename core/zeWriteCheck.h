// Checked output: every file a program of this package writes is checked
// for write errors up to and including its close. A failed write prints
// "ERROR: couldn't write '<path>': <reason>", removes what it left behind
// and ends the process with status 1, so that no output is ever left cut
// short while looking complete.
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

// The message for path and error number err, then the unfinished outputs
// (and path itself) removed when they are regular files; ends the process
// with status 1 (through zeExit).
[[noreturn]] void writeFailed(const std::string& path, int err);

// The error number a failed output call left, or EIO when it left none.
int writeErrorNumber();

// Ends the process through writeFailed when out has failed.
void checkWritten(const std::ostream& out, const std::string& path);
// Flushes and closes out, checking both; then forgets path as an output.
void closeWritten(std::ofstream& out, const std::string& path);
// The same for stdio files; closeWritten leaves f closed (and null) afterwards.
void checkWritten(FILE* f, const std::string& path);
void closeWritten(FILE*& f, const std::string& path);

#endif
