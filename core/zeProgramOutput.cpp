#include "zeProgramOutput.h"

CheckedOutput openOutput(const std::string& path, bool orStandard) {
    if (path.empty() && orStandard)
        return CheckedOutput::standardOutput("standard output", OnWriteFailure::Quiet);
    if (path.empty()) return CheckedOutput();
    return CheckedOutput::replacing(path, OnWriteFailure::Quiet);
}

bool writeOutput(CheckedOutput& out, const std::string& bytes, std::string& error) {
    if (out.finishWith(bytes)) return true;
    error = out.failureText();
    return false;
}
