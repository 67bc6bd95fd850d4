#include "banner.h"

#include "configLine.h"

#include <cstring>

namespace {

// Program name, version and where to ask for help.
const char title_string[LINEBUF_MAX] = "lumo_configure 1.0 (lumo-help@gel-lab.example.org)";

} // namespace

void printBanner(FILE* out) {
    fprintf(out, "\n\n  %s\n  ", title_string);
    for (size_t i = 0; i < strlen(title_string); i++)
        fputc('*', out);
    fprintf(out, "\n\nFor use with lumo 3.10 or higher\n\n");
    fprintf(out, "\n\n");
    fprintf(out, "Keyword/value pairs are presented in turn\n");
    fprintf(out, "just hit enter if value is OK otherwise enter new command\n");
    fprintf(out, "To disable a command enter one or more spaces\n");
    fprintf(out, "\n\n");
}
