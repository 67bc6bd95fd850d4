// Every "ERROR: " line the package's programs print is written here, so
// that all of them share one shape: "ERROR: <what>" alone on one line of
// the standard error stream, written at once. Code that hands a failure
// to its caller hands the bare text, and the caller prints it here.
// docs/errors.md lists the messages.
#ifndef ZE_ERROR_H
#define ZE_ERROR_H

#include <string>

void printError(const std::string& what);

// printError(what), then 1: the exit status of a run that ends on it.
int failure(const std::string& what);

// "<what>: <the text of error number err>", for a failed system call; err
// is the errno value captured right at the failing call.
std::string withReason(const std::string& what, int err);

#endif
