// Headless Chromium for the tests of the HTML pages: a fresh profile per
// run with nothing fetched from the network, and the problems its log
// reports about a page.
#ifndef ZE_BROWSER_SUPPORT_H
#define ZE_BROWSER_SUPPORT_H

#include <string>
#include <vector>

#include "testSupport.h"

namespace zetest {

extern const char* const CHROMIUM;

// Arguments for a headless run with its profile in t/profile.
std::vector<std::string> chromiumArgs(const TempDir& t, const std::string& profile);

// Lines of Chromium's log that tell of a problem with the page itself:
// script errors, console messages, resources that did not load.
std::vector<std::string> pageProblems(const std::string& log);

} // namespace zetest

#endif
