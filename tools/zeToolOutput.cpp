#include "zeToolOutput.h"

CheckedOutput toolFile(const std::string& path) {
    return CheckedOutput::file(path, OnWriteFailure::EndProcess);
}

bool writeToolFile(const std::string& path, const std::string& bytes) {
    return CheckedOutput::file(path, OnWriteFailure::ReturnFalse).finishWith(bytes);
}
