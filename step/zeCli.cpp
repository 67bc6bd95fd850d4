#include "zeCli.h"

#include <assert.h>

#include <cstdlib>
#include <iostream>

#define ZE_CLI_CHECK(expr) \
    ((expr) ? (void)0 : __assert_fail(#expr, "step/zeCli.cpp", __LINE__, __PRETTY_FUNCTION__))

cliParam::cliParam(char l, double& t) : kind(DOUBLE), double_target(&t), letter(l), link(nullptr) {}
cliParam::cliParam(char l, dbString& t) : kind(STRING), string_target(&t), letter(l), link(nullptr) {}
cliParam::cliParam(char l, long& t) : kind(LONG), long_target(&t), letter(l), link(nullptr) {}
cliParam::cliParam(char l, bool& t) : kind(BOOL), bool_target(&t), letter(l), link(nullptr) {}
cliParam::cliParam(char l, char& t) : kind(CHAR), char_target(&t), letter(l), link(nullptr) {}
cliParam::cliParam(void (*h)(cli&, const char*)) : kind(HANDLER), handler(h), letter(0), link(nullptr) {}

cliParam::cliParam(const cliParam& o) : kind(o.kind), letter(o.letter), link(nullptr) {
    switch (kind) {
    case DOUBLE: double_target = o.double_target; break;
    case STRING: string_target = o.string_target; break;
    case LONG: long_target = o.long_target; break;
    case BOOL: bool_target = o.bool_target; break;
    case CHAR: char_target = o.char_target; break;
    case HANDLER: handler = o.handler; break;
    default: ZE_CLI_CHECK(0);
    }
}

cli::cli(int argc, char** argv)
    : pr_argv(argv), pr_argc(argc), pr_curr(1), pr_state(CLASSIFY), pr_char(0), pr_help(nullptr),
      pr_params(nullptr) {
    start();
}

cli::cli(int argc, char** argv, void (*help)())
    : pr_argv(argv), pr_argc(argc), pr_curr(1), pr_state(CLASSIFY), pr_char(0), pr_help(help),
      pr_params(nullptr) {
    start();
}

cli::~cli() {
    while (pr_params) {
        cliParam* next = pr_params->link;
        delete pr_params;
        pr_params = next;
    }
}

cli& cli::operator+=(const cliParam& p) {
    // The registered copies live as long as the parser.
    cliParam* copy = new cliParam(p);
    copy->link = pr_params;
    pr_params = copy;
    return *this;
}

void cli::start() {
    pr_curr = 1;
    pr_state = CLASSIFY;
    next();
}

void cli::next() {
    for (;;) {
        switch (pr_state) {
        case CLASSIFY:
            if (pr_curr >= pr_argc) {
                pr_state = END;
            } else if (pr_argv[pr_curr][0] == '-') {
                pr_char = 1;
                pr_state = FLAG;
            } else {
                pr_state = ARGUMENT;
            }
            break;
        case FLAG:
            if (pr_argv[pr_curr][pr_char] != 0) {
                pr_char++;
                if (pr_argv[pr_curr][pr_char] != 0) break;
            }
            pr_curr++;
            pr_state = CLASSIFY;
            continue;
        case ARGUMENT:
            pr_curr++;
            pr_state = CLASSIFY;
            continue;
        case END:
            std::cerr << "Program tried to read past the last command.\n";
            exit(1);
        default:
            std::cerr << "Programming error in cli.next()\n";
            return;
        }
        break;
    }
    ZE_CLI_CHECK(pr_curr <= pr_argc);
}

bool cli::last() const { return pr_state == END; }
bool cli::isaflag() const { return pr_state == FLAG; }

char cli::flagname() {
    if (pr_state != FLAG) {
        std::cerr << "flag expected.\n";
        issue_help_message();
    }
    return pr_argv[pr_curr][pr_char];
}

const char* cli::argname() {
    if (pr_state != ARGUMENT) {
        std::cerr << "Argument expected.\n";
        issue_help_message();
    }
    return pr_argv[pr_curr];
}

void cli::go_to_next() {
    if (pr_state == END) issue_help_message();
    next();
    if (pr_state == FLAG) {
        std::cerr << "Flag " << pr_argv[pr_curr][pr_char] << " not expected.\n";
        issue_help_message();
    }
}

const char* cli::get_String() {
    go_to_next();
    return argname();
}

long cli::get_long() {
    go_to_next();
    return atol(argname());
}

double cli::get_double() {
    go_to_next();
    return strtod(argname(), nullptr);
}

void cli::issue_help_message() {
    if (pr_help) pr_help();
    exit(1);
}

void cli::go() {
    start();
    while (pr_state != END) {
        if (pr_state == FLAG) {
            char letter = flagname();
            cliParam* p = pr_params;
            while (p && (p->kind == cliParam::HANDLER || p->letter != letter)) p = p->link;
            if (!p) {
                std::cout << "Flag '" << letter << "' is not recognised" << std::endl;
                issue_help_message();
            }
            switch (p->kind) {
            case cliParam::DOUBLE: *p->double_target = get_double(); break;
            case cliParam::LONG: *p->long_target = get_long(); break;
            case cliParam::BOOL: *p->bool_target = true; break;
            case cliParam::STRING:
                next();
                *p->string_target = argname();
                break;
            case cliParam::CHAR:
                next();
                *p->char_target = argname()[0];
                break;
            }
        } else {
            for (cliParam* p = pr_params; p; p = p->link)
                if (p->kind == cliParam::HANDLER) p->handler(*this, argname());
        }
        next();
    }
}
