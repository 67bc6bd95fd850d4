#include "configLine.h"

#include <cctype>
#include <cstring>

namespace {

// Copies characters [from, to) of text into a buffer of LINEBUF_MAX chars.
void copyRange(const char* text, int from, int to, char* out) {
    int n = to - from;
    if (n > LINEBUF_MAX - 1) n = LINEBUF_MAX - 1;
    if (n < 0) n = 0;
    memcpy(out, text + from, (size_t)n);
    out[n] = '\0';
}

} // namespace

bool splitConfigurationLine(const char* line_string, ConfigurationLine& parts) {
    int i = 0;
    while (line_string[i] == ' ')
        i++;
    if (line_string[i] != '$') return false;
    const int keyword_start = i + 1;
    if (!isalpha((unsigned char)line_string[keyword_start])) return false;
    const char* colon = strchr(line_string + keyword_start, ':');
    if (!colon) return false;
    const int colon_idx = (int)(colon - line_string);

    // The letter is not a space, so the keyword is never empty.
    int keyword_end = colon_idx;
    while (line_string[keyword_end - 1] == ' ')
        keyword_end--;
    copyRange(line_string, keyword_start, keyword_end, parts.keyword_buf);

    const int length = (int)strlen(line_string);
    int value_start = colon_idx + 1;
    while (value_start < length && line_string[value_start] == ' ')
        value_start++;
    if (value_start == length) {
        parts.value_buf[0] = '\0';
        parts.value_startidx = colon_idx + 2;
        return true;
    }
    int value_end = length;
    while (line_string[value_end - 1] == ' ')
        value_end--;
    copyRange(line_string, value_start, value_end, parts.value_buf);
    parts.value_startidx = value_start;
    return true;
}

void rewriteField(char* line_string, int value_startidx, const char* answer) {
    const char* next = answer;
    for (int idx = value_startidx; idx < LINEBUF_MAX; idx++) {
        if (*next)
            line_string[idx] = *next++;
        else
            line_string[idx] = ' ';
    }
}
