// The one way the library ends the process on a fatal error. Programs that
// run the readers in-process on arbitrary input (the fuzz harnesses) install
// a handler that unwinds back to them instead.
#ifndef ZE_EXIT_H
#define ZE_EXIT_H

// A handler must not return (it may throw).
using zeExitHandler = void (*)(int status);

[[noreturn]] void zeExit(int status);
// Installs handler (null restores the plain exit); returns the previous one.
zeExitHandler setExitHandler(zeExitHandler handler);

#endif
