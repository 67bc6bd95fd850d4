// Quoting of paths for the shell commands the step runs with system().
#ifndef ZE_SHELL_H
#define ZE_SHELL_H

#include "zeMystring.h"

// The path as it stands when every character is in A-Za-z0-9_@%+=:,./-,
// otherwise wrapped in single quotes with each embedded quote as '\''.
dbString shellQuote(const char* path);

#endif
