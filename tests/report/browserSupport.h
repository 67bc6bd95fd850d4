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

// The page at url rendered to a screenshot of a window of the given size,
// and the DOM Chromium built for it, from one run (a run costs a second or
// two of CPU time).
struct PageRendering {
    RunResult run;                     // Chromium's own run; the DOM in run.out
    std::vector<std::string> problems; // pageProblems of its log
    int width = 0, height = 0;         // of the screenshot (0 when unreadable)
    double inkShare = 0;               // share of pixels that are not background
};
PageRendering renderPage(const TempDir& t, const std::string& url, int windowWidth = 1400,
                         int windowHeight = 2000);

// Chromium ran, its log tells of no problem with the page, and the
// screenshot is `width` wide with more than `minInk` of it not background.
void expectRenderedCleanly(const PageRendering& page, int width, double minInk);

} // namespace zetest

#endif
