// ProjInfo: the project description read from the project's info file;
// readLine: the line reader shared by every text reader of the step.
#ifndef ZE_INFO_H
#define ZE_INFO_H

#include <iosfwd>

#include "zeMystring.h"

class ProjInfo {
  public:
    ProjInfo();
    ProjInfo(const ProjInfo& o) = default;
    ProjInfo& operator=(const ProjInfo& o) = default;
    ~ProjInfo() = default;

    // False when the file cannot be opened, the header is wrong or a key
    // is not followed by "="; an invalid enumerated value ends the process.
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

// Reads one line without its line end (a carriage return is kept). False
// when the input ends before a line end; line then holds what was read.
bool readLine(std::istream& in, dbString& line);

#endif
