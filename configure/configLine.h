// Recognition of a marked configuration line ("$KEYWORD: value") and the
// fixed-length rewrite of its value field.
#ifndef LUMO_CONFIG_LINE_H
#define LUMO_CONFIG_LINE_H

// Size of the title, line, keyword and value buffers; a marked line is
// collected up to this many characters.
enum { LINEBUF_MAX = 1000 };

// The parts of a configuration line that the editor needs.
struct ConfigurationLine {
    char keyword_buf[LINEBUF_MAX]; // keyword, without the dollar sign
    char value_buf[LINEBUF_MAX];   // current value, empty when there is none
    int value_startidx;            // index in the line where the value field starts
};

// line_string: a zero-terminated line of at most LINEBUF_MAX characters.
// Returns false when the line is not a configuration line, i.e. when after
// any leading spaces it lacks a dollar sign, a letter, and then a colon.
// Otherwise fills parts: the keyword runs from the letter to the last
// non-space before the first colon; the value from the first non-space
// after the colon to the last non-space of the line. Without a value the
// field starts at the second character after the colon, which keeps the
// separating space of a later value.
bool splitConfigurationLine(const char* line_string, ConfigurationLine& parts);

// line_string: a buffer of LINEBUF_MAX + 1 characters. Overwrites every
// position from value_startidx up to LINEBUF_MAX - 1 with the answer and
// then spaces; the caller writes only as many characters as the line had,
// so the field ends exactly where the old line ended. The terminator at
// index LINEBUF_MAX is left alone.
void rewriteField(char* line_string, int value_startidx, const char* answer);

#endif
