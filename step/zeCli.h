// cli / cliParam: the command-line parser of zeStep5. Single-letter flags
// (clustered as in -hv), flags with values, and positional handlers that
// may pull further arguments. Errors run the help callback and exit 1.
#ifndef ZE_CLI_H
#define ZE_CLI_H

#include "zeMystring.h"

class cli;

struct cliParam {
    enum Kind { DOUBLE = 0, STRING = 1, LONG = 2, BOOL = 3, CHAR = 4, HANDLER = 5 };

    cliParam(char letter, double& target);
    cliParam(char letter, dbString& target);
    cliParam(char letter, long& target);
    cliParam(char letter, bool& target);
    cliParam(char letter, char& target);
    cliParam(void (*handler)(cli&, const char*));
    cliParam(const cliParam& o);
    cliParam& operator=(const cliParam&) = delete;

    int kind;
    double* double_target;
    long* long_target;
    bool* bool_target;
    dbString* string_target;
    char* char_target;
    void (*handler)(cli&, const char*);
    char letter;
    cliParam* link;
};

class cli {
  public:
    enum State { CLASSIFY = 0, FLAG = 1, END = 2, ARGUMENT = 3 };

    cli(int argc, char** argv);
    cli(int argc, char** argv, void (*help)());
    ~cli();
    cli(const cli&) = delete;
    cli& operator=(const cli&) = delete;

    cli& operator+=(const cliParam& p);
    void start();
    void next();
    bool last() const;
    bool isaflag() const;
    char flagname();
    const char* argname();
    void go_to_next();
    const char* get_String();
    long get_long();
    double get_double();
    [[noreturn]] void issue_help_message();
    void go();

  private:
    char** pr_argv;
    int pr_argc;
    int pr_curr;
    int pr_state;
    int pr_char;
    void (*pr_help)();
    cliParam* pr_params;
};

#endif
