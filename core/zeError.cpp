#include "zeError.h"

#include <cstring>
#include <iostream>

std::string errorLine(const std::string& what) {
    return "ERROR: " + what;
}

void printErrorLine(const std::string& line) {
    std::cerr << line << std::endl;
}

void printError(const std::string& what) {
    printErrorLine(errorLine(what));
}

std::string withReason(const std::string& what, int err) {
    return what + ": " + strerror(err);
}
