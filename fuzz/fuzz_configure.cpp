// lumo_configure's copy loop. Input: two length bytes (little-endian) give
// the size of the configuration file, which follows; the rest are the piped
// answers, one per line. A flag byte before everything chooses who answers:
// bit 0 clear, a reader of the answer lines that behaves as readline does on
// a pipe; bit 0 set, readline itself reading the answers from a file.
//
// Checked after every run: the output is exactly as long as the input, and
// when every answer is empty (or missing) it is the input byte for byte.
#include <readline/readline.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "copyLoop.h"
#include "fuzzSupport.h"
#include "presetLine.h"

namespace {

std::string answers;
size_t answerAt = 0;
bool someAnswerGiven = false;

// One line of the piped answers without its line end; null when none is left.
char* pipedAnswer(const char*, const char*) {
    if (answerAt >= answers.size()) return nullptr;
    size_t end = answers.find('\n', answerAt);
    if (end == std::string::npos) end = answers.size();
    std::string line = answers.substr(answerAt, end - answerAt);
    answerAt = end + 1;
    // readline stops a line at a NUL as well.
    line = line.c_str();
    if (!line.empty()) someAnswerGiven = true;
    return strdup(line.c_str());
}

char* readlineAnswer(const char* prompt, const char* value) {
    char* answer = askValue(prompt, value);
    if (answer && answer[0]) someAnswerGiven = true;
    return answer;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzInit();
    InputCursor in(data, size);
    bool useReadline = in.takeByte() & 1;
    size_t fileSize = in.takeByte();
    fileSize |= (size_t)in.takeByte() << 8;
    if (fileSize > in.restSize()) fileSize = in.restSize();
    std::string input(reinterpret_cast<const char*>(in.rest()), fileSize);
    answers.assign(reinterpret_cast<const char*>(in.rest()) + fileSize, in.restSize() - fileSize);
    answerAt = 0;
    someAnswerGiven = false;

    FILE* ifil = fmemopen(const_cast<char*>(input.data()), input.size(), "rb");
    if (input.empty()) ifil = fopen("/dev/null", "rb");
    char* outBuf = nullptr;
    size_t outSize = 0;
    FILE* ofil = open_memstream(&outBuf, &outSize);
    if (!ifil || !ofil) abort();

    FILE* answerFile = nullptr;
    FILE* sink = nullptr;
    if (useReadline) {
        std::string answerPath = scratchDir() + "/answers";
        writeFile(answerPath, answers);
        answerFile = fopen(answerPath.c_str(), "rb");
        sink = fopen("/dev/null", "wb");
        if (!answerFile || !sink) abort();
        rl_instream = answerFile;
        rl_outstream = sink;
    }

    CheckedOutput out = CheckedOutput::ofStream(ofil, "output", OnWriteFailure::Quiet);
    copyConfiguration(ifil, out, "input", useReadline ? readlineAnswer : pipedAnswer);
    fclose(ifil);
    out.finish();
    if (useReadline) {
        rl_instream = nullptr;
        rl_outstream = nullptr;
        fclose(answerFile);
        fclose(sink);
    }

    if (outSize != input.size()) fuzzFail("output length differs from input length");
    if (!someAnswerGiven && memcmp(outBuf, input.data(), outSize) != 0)
        fuzzFail("output differs from input although no answer changed anything");
    free(outBuf);
    return 0;
}
