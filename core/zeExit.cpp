#include "zeExit.h"

#include <cstdlib>

namespace {
zeExitHandler currentHandler = nullptr;
}

void zeExit(int status) {
    if (currentHandler) currentHandler(status);
    exit(status);
}

zeExitHandler setExitHandler(zeExitHandler handler) {
    zeExitHandler previous = currentHandler;
    currentHandler = handler;
    return previous;
}
