#include "zeError.h"

#include <cstring>
#include <iostream>

void printError(const std::string& what) {
    std::cerr << "ERROR: " << what << std::endl;
}

std::string withReason(const std::string& what, int err) {
    return what + ": " + strerror(err);
}
