// Headless Chromium for the page tests: its command line and the lines of
// its log that tell of a problem with the page. The tests run only where
// Debian's chromium package is installed.
#ifndef ZE_BROWSER_SUPPORT_H
#define ZE_BROWSER_SUPPORT_H

#include <string>
#include <vector>

#include "testSupport.h"

namespace zetest {

extern const char* const CHROMIUM;

// A fresh profile per run in t, nothing fetched from the network.
std::vector<std::string> chromiumArgs(const TempDir& t, const std::string& profile);

// Script errors, console messages, resources that did not load.
std::vector<std::string> pageProblems(const std::string& log);

} // namespace zetest

#endif
