#include "zeShell.h"

#include <cstring>

dbString shellQuote(const char* path) {
    static const char safe[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_@%+=:,./-";
    const char* p = path ? path : "";
    if (*p && strspn(p, safe) == strlen(p)) return dbString(p);
    dbString quoted("'");
    for (; *p; p++) {
        if (*p == '\'') quoted += "'\\''";
        else quoted += *p;
    }
    quoted += "'";
    return quoted;
}
