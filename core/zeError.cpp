#include "zeError.h"

#include <cstring>
#include <iostream>

void printError(const std::string& what) {
    std::cerr << "ERROR: " + what + "\n" << std::flush;
}

int failure(const std::string& what) {
    printError(what);
    return 1;
}

std::string withReason(const std::string& what, int err) {
    return what + ": " + strerror(err);
}
