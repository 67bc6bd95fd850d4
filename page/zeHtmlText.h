// Text for the package's HTML pages (zeReport's and zeCompare's): escaping
// of everything that comes from the input files, and numbers in a fixed,
// locale-free form.
#ifndef ZE_HTMLTEXT_H
#define ZE_HTMLTEXT_H

#include <string>

// Safe in element content and in quoted attribute values of HTML and of
// inline SVG: & < > " ' become character references, and control
// characters other than tab and line ends (which HTML forbids) become
// U+FFFD.
std::string htmlEscape(const std::string& text);

// v with the given number of decimals ("%.*f"); NaN and infinities as
// "NaN", "inf", "-inf" so that they never look like numbers.
std::string fixed(double v, int decimals);

#endif
