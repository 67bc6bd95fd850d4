#include "zeInfo.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "zeError.h"
#include "zeExit.h"

// One character from the stream's buffer. A read error there (a directory
// opened as a file, a failing disk) throws where the stream's own
// extractors would set badbit; here it sets badbit and reads as the end.
static int bumpChar(std::istream& in, std::streambuf* sb) {
    try {
        return sb->sbumpc();
    } catch (...) {
        in.setstate(std::ios::badbit);
        return EOF;
    }
}

bool readLine(std::istream& in, dbString& line) {
    line = "";
    std::streambuf* sb = in.rdbuf();
    // Collect in chunks: appending one character at a time would copy the
    // whole line for every character.
    char chunk[256];
    int n = 0;
    bool ended = false;
    while (in.good()) {
        int c = bumpChar(in, sb);
        if (c == EOF) {
            in.setstate(std::ios::eofbit | std::ios::failbit);
            break;
        }
        if (c == '\n') {
            ended = true;
            break;
        }
        chunk[n++] = (char)c;
        if (n == (int)sizeof chunk - 1) {
            chunk[n] = 0;
            line += chunk;
            n = 0;
        }
    }
    chunk[n] = 0;
    line += chunk;
    return ended;
}

ProjInfo::ProjInfo()
    : imageformat(0), geltype(0), imagewidth(0), imageheight(0), outputxsize(2000),
      outputysize(30), lanenumber(0), gelnumber(""), markerrepeat(0), zonenumber(0),
      standardfile(""), compression("gzip"), username("Unknown"), geltrainingfile(),
      lockdirection(true), normmethod(true), dyenumber(1), bandheightmodel(false), maxcontig(3),
      componentorder{1, 2, 3, 4} {}

namespace {

const char NOT_READ[] = "failed to load project file";

// Reads characters up to and including the next line end.
void discardLine(std::istream& in) {
    std::streambuf* sb = in.rdbuf();
    while (in.good()) {
        int c = bumpChar(in, sb);
        if (c == EOF) {
            in.setstate(std::ios::eofbit | std::ios::failbit);
            return;
        }
        if (c == '\n') return;
    }
}

// An int value; a value that is not a number leaves the field unchanged
// and fails the stream, which ends the reading.
void readInt(std::istream& in, int& field) {
    int v;
    if (in >> v) field = v;
}

// BAD_VALUE: an enumerated key with a value it does not know; error says which.
enum Group { GROUP_A, GROUP_B, UNKNOWN, BAD_VALUE };

Group handleKey(std::istream& in, const dbString& key, ProjInfo& p, std::string& error) {
    dbString word;
    if (key == "imageformat") {
        in >> word;
        if (word == "hi") p.imageformat = 0;
        else if (word == "abi") p.imageformat = 1;
        else if (word == "pgm") p.imageformat = 2;
    } else if (key == "geltype") {
        in >> word;
        if (word == "ARG") p.geltype = 2;
        else if (word == "ABI") p.geltype = 1;
        else if (word == "FLI") p.geltype = 3;
        else p.geltype = 0;
    } else if (key == "geltrainingfile") {
        in >> p.geltrainingfile;
    } else if (key == "username") {
        in >> p.username;
    } else if (key == "imagewidth") {
        readInt(in, p.imagewidth);
    } else if (key == "imageheight") {
        readInt(in, p.imageheight);
    } else if (key == "outputxsize") {
        readInt(in, p.outputxsize);
    } else if (key == "outputysize") {
        readInt(in, p.outputysize);
    } else if (key == "lanenumber") {
        readInt(in, p.lanenumber);
    } else if (key == "maxcontig") {
        readInt(in, p.maxcontig);
    } else if (key == "markerrepeat") {
        readInt(in, p.markerrepeat);
    } else if (key == "bandheightmodel") {
        in >> word;
        if (word == "decaying") p.bandheightmodel = true;
        else if (word == "random") p.bandheightmodel = false;
        else {
            error = std::string("bandheightmodel be decaying or random not '") + word.c_str() + "'";
            return BAD_VALUE;
        }
    } else if (key == "componentorder") {
        // Four numbers, each of the first three followed by one separator
        // character of any kind (white space before it is skipped).
        int order[4];
        char separator;
        in >> order[0] >> separator >> order[1] >> separator >> order[2] >> separator >> order[3];
        if (in.fail()) {
            error = "parsing componentorder tag.";
            return BAD_VALUE;
        }
        for (int i = 0; i < 4; i++) p.componentorder[i] = order[i];
    } else if (key == "gelnumber") {
        in >> p.gelnumber;
        return GROUP_B;
    } else if (key == "standardfile") {
        in >> p.standardfile;
        return GROUP_B;
    } else if (key == "compression") {
        in >> p.compression;
        return GROUP_B;
    } else if (key == "lockdirection") {
        in >> word;
        if (word == "fromleft") p.lockdirection = true;
        else if (word == "fromright") p.lockdirection = false;
        else {
            error = "lockdirection should be fromright or fromleft";
            return BAD_VALUE;
        }
        return GROUP_B;
    } else if (key == "normmethod") {
        in >> word;
        if (word == "linear") p.normmethod = true;
        else if (word == "nonlinear") p.normmethod = false;
        else {
            error = "normmethod should be linear or nonlinear";
            return BAD_VALUE;
        }
        return GROUP_B;
    } else if (key == "dyenumber") {
        readInt(in, p.dyenumber);
        return GROUP_B;
    } else if (key == "zonenumber") {
        readInt(in, p.zonenumber);
        return GROUP_B;
    } else {
        return UNKNOWN;
    }
    return GROUP_A;
}

}  // namespace

InfoRead readInfoFile(const char* path, ProjInfo& p, std::string& error) {
    std::ifstream in(path);
    error = NOT_READ;
    if (!in) return InfoRead::NotRead;

    dbString word;
    in >> word >> std::ws;
    if (word != "VERSION") return InfoRead::NotRead;
    dbString versionText;
    readLine(in, versionText);
    in >> std::ws >> word >> std::ws;
    if (word != "INFO") return InfoRead::NotRead;

    while (in.good()) {
        dbString key;
        char equals = 0;
        in >> key >> std::ws;
        in.get(equals);
        in >> std::ws;
        if (in.fail()) break;
        if (equals != '=') return InfoRead::NotRead;
        // Group A keys and unknown keys lose the rest of their line; a group
        // B value must be the last word of its line.
        Group group = handleKey(in, key, p, error);
        if (group == BAD_VALUE) return InfoRead::BadValue;
        if (group != GROUP_B) discardLine(in);
        in >> std::ws;
    }
    error.clear();
    return InfoRead::Read;
}

bool ProjInfo::readFrom(const char* path) {
    std::string error;
    switch (readInfoFile(path, *this, error)) {
    case InfoRead::Read:
        return true;
    case InfoRead::NotRead:
        return false;
    case InfoRead::BadValue:
        break;
    }
    printError(error);
    zeExit(1);
}
