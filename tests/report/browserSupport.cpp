#include "browserSupport.h"

namespace zetest {

const char* const CHROMIUM = "/usr/bin/chromium";

std::vector<std::string> chromiumArgs(const TempDir& t, const std::string& profile) {
    return {"--headless",
            "--no-sandbox",
            "--disable-gpu",
            "--disable-quic",
            "--no-first-run",
            "--disable-background-networking",
            "--disable-component-update",
            "--disable-sync",
            "--user-data-dir=" + t / profile};
}

std::vector<std::string> pageProblems(const std::string& log) {
    std::vector<std::string> problems;
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        if (end == std::string::npos) end = log.size();
        std::string line = log.substr(start, end - start);
        for (const char* sign : {"Uncaught", "CONSOLE", "Not allowed to load", "net::ERR_"})
            if (line.find(sign) != std::string::npos) {
                problems.push_back(line);
                break;
            }
        start = end + 1;
    }
    return problems;
}

} // namespace zetest
