#include "copyLoop.h"

#include "configLine.h"
#include "configureFiles.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

enum stateType { INSIDE_LINE = 0, OUTSIDE_LINE = 1 };
enum truthType { FALSE = 0, TRUE = 1 };

const char MARKER[] = "@(#)";

// State of one run of the copy loop.
struct CopyState {
    stateType state = OUTSIDE_LINE;
    char sliding_buffer[5] = {' ', ' ', ' ', ' ', '\0'}; // last four characters read
    char line_string[LINEBUF_MAX + 1] = {};              // marked line being collected
    int line_pointer = 0;                                // characters collected
    truthType isKeywordPossible = FALSE;                 // "Configuration:" seen
};

// Writes bytes; false (reported) when they cannot all be written.
bool writeOut(CheckedOutput& ofil, const void* bytes, size_t count) {
    if (ofil.write(bytes, count)) return true;
    reportConfigureWriteError(ofil.errorNumber());
    return false;
}

// Writes the collected characters.
bool writeCollected(const CopyState& run, CheckedOutput& ofil) {
    return writeOut(ofil, run.line_string, (size_t)run.line_pointer);
}

// Offers the value of a configuration line and rewrites its field with a
// non-empty answer.
void offerLine(CopyState& run, const ConfigurationLine& parts, AskFunction ask) {
    char prompt[LINEBUF_MAX + 8];
    snprintf(prompt, sizeof prompt, "$%s = ", parts.keyword_buf);
    char* new_value_buf = ask(prompt, parts.value_buf);
    if (new_value_buf && new_value_buf[0] != '\0')
        rewriteField(run.line_string, parts.value_startidx, new_value_buf);
    free(new_value_buf);
}

// Ends the collected line: notes the start of the configuration section,
// offers the line if it is a configuration line, and writes it.
bool endLine(CopyState& run, CheckedOutput& ofil, AskFunction ask) {
    run.line_string[run.line_pointer] = '\0';
    if (strstr(run.line_string, "Configuration:")) run.isKeywordPossible = TRUE;
    ConfigurationLine parts;
    if (run.isKeywordPossible == TRUE && splitConfigurationLine(run.line_string, parts))
        offerLine(run, parts, ask);
    return writeCollected(run, ofil);
}

// Shifts c into the last four characters; true when they form the marker.
bool completesMarker(CopyState& run, int c) {
    memmove(run.sliding_buffer, run.sliding_buffer + 1, 3);
    run.sliding_buffer[3] = (char)c;
    return memcmp(run.sliding_buffer, MARKER, 4) == 0;
}

} // namespace

bool copyConfiguration(FILE* ifil, CheckedOutput& ofil, const char* input_name, AskFunction ask) {
    CopyState run;
    for (;;) {
        clearerr(ifil);
        int c = fgetc(ifil);
        if (c == EOF) {
            bool read_ok = !ferror(ifil);
            if (!read_ok)
                fprintf(stderr, "Error whilst reading input file %s (%s)\n", input_name,
                        strerror(errno));
            // A line cut short by the end of the input is still a line.
            bool written = run.state != INSIDE_LINE || endLine(run, ofil, ask);
            return read_ok && written;
        }
        if (run.state == INSIDE_LINE) {
            if (c != '\n' && isprint(c) && run.line_pointer < LINEBUF_MAX) {
                run.line_string[run.line_pointer++] = (char)c;
            } else {
                if (!endLine(run, ofil, ask)) return false;
                run.state = OUTSIDE_LINE;
            }
        }
        char byte = (char)c;
        if (run.state == OUTSIDE_LINE && !writeOut(ofil, &byte, 1)) return false;
        if (completesMarker(run, c)) {
            // A marker inside a collected line starts a new line; the text
            // collected before it, marker included, goes out unchanged.
            if (run.state == INSIDE_LINE && !writeCollected(run, ofil)) return false;
            run.line_pointer = 0;
            run.state = INSIDE_LINE;
        }
    }
}
