// The result of an ICS file that could not be written: the writer's own
// code, with errno left holding the error number of the failing call for
// callers that report it.
#ifndef ZE_ICSFAILURE_H
#define ZE_ICSFAILURE_H

#include <cerrno>

#include "zeWriteCheck.h"

inline int icsFailure(const CheckedOutput& out, int code) {
    errno = out.errorNumber();
    return code;
}

#endif
