// ProjInfo and readInfoFile: the project description read from the project's
// info file; readLine: the line reader shared by every text reader of the step.
#ifndef ZE_INFO_H
#define ZE_INFO_H

#include <iosfwd>
#include <string>

#include "zeMystring.h"

class ProjInfo {
  public:
    ProjInfo();
    ProjInfo(const ProjInfo& o) = default;
    ProjInfo& operator=(const ProjInfo& o) = default;
    ~ProjInfo() = default;

    // readInfoFile for the step: false when the file is not read (the
    // caller reports it); an invalid enumerated value prints its message
    // and ends the process with status 1.
    bool readFrom(const char* path);

    int imageformat;
    int geltype;
    int imagewidth;
    int imageheight;
    int outputxsize;
    int outputysize;
    int lanenumber;
    dbString gelnumber;
    int markerrepeat;
    int zonenumber;
    dbString standardfile;
    dbString compression;
    dbString username;
    dbString geltrainingfile;
    bool lockdirection;
    bool normmethod;  // true: linear
    int dyenumber;
    bool bandheightmodel;
    int maxcontig;
    int componentorder[4];
};

// How reading an info file ended.
enum class InfoRead {
    Read,
    NotRead,  // cannot be opened, a wrong header, or a key without "="
    BadValue, // an enumerated key with a value it does not know
};

// Reads the info file at path into p, over the values p holds (what the
// file does not name keeps its value, also when the reading fails part
// way). Never ends the process: on NotRead error is "failed to load
// project file", on BadValue the message naming the key; on Read it is
// empty.
InfoRead readInfoFile(const char* path, ProjInfo& p, std::string& error);

// Reads one line without its line end (a carriage return is kept). False
// when the input ends before a line end; line then holds what was read.
bool readLine(std::istream& in, dbString& line);

#endif
