// The copy loop: input to output byte for byte, offering the value of every
// marked configuration line once the configuration section has begun.
#ifndef LUMO_COPY_LOOP_H
#define LUMO_COPY_LOOP_H

#include <cstdio>

#include "zeWriteCheck.h"

// Asks for a new value of one field. prompt is "$KEYWORD = ", value the
// field's current value. Returns a malloc'ed answer (the copy loop frees
// it), or null when there is no answer; a null or empty answer keeps the
// field as it is.
typedef char* (*AskFunction)(const char* prompt, const char* value);

// Copies ifil to ofil (an output that reports nothing itself) until end of input or the first read or write error,
// which it reports on standard error (input_name names the input in the
// read error). Every byte read reaches the output; only the value fields
// of offered lines change, and they keep their length. True when the whole
// input was copied, false after a (reported) read or write error.
bool copyConfiguration(FILE* ifil, CheckedOutput& ofil, const char* input_name, AskFunction ask);

#endif
