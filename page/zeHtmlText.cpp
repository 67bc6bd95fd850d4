#include "zeHtmlText.h"

#include <cmath>
#include <cstdio>

std::string htmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            if (((unsigned char)c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7f)
                out += "&#xFFFD;";
            else
                out += c;
        }
    }
    return out;
}

std::string fixed(double v, int decimals) {
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    char buf[512]; // the widest double in %f takes 309 digits
    snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}
