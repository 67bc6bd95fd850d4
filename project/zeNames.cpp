#include "zeNames.h"

#include <istream>
#include <string>

#include "zeInfo.h"

bool readNamesEntry(std::istream& in, NamesEntry& e) {
    char discarded = 0;
    in >> e.lane;
    in >> e.status;
    in >> discarded;
    if (in.fail()) return false;
    // The last line may lack its line end; its rest is then what is left.
    readLine(in, e.rest);
    unsigned n = e.rest.len();
    if (n > 0) e.rest[n - 1] = '\0';
    return true;
}

void splitNames(const dbString& rest, int cloneCounter, dbString& clone, dbString& digest) {
    std::string cloneText, digestText;
    if (rest.empty()) {
        cloneText = "unnamed_";
        cloneText += intTodbString(cloneCounter).c_str();
        digestText = "digest";
    }
    int quotes = 0;
    for (const char* c = rest.c_str(); *c; c++) {
        if (*c == '"') {
            quotes++;
            continue;
        }
        char ch = (*c == ' ' || *c == '/') ? '_' : *c;
        if (quotes == 0)
            cloneText += ch;
        else if (quotes == 2)
            digestText += ch;
    }
    clone = cloneText.c_str();
    digest = digestText.c_str();
}
