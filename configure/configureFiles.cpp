#include "configureFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "zeWriteCheck.h"

namespace {

// Two names of one file: opening the output would truncate the input.
bool namesInputFile(const char* output_name, const struct stat& input_status) {
    struct stat output_status;
    if (stat(output_name, &output_status) != 0) return false;
    return output_status.st_dev == input_status.st_dev &&
           output_status.st_ino == input_status.st_ino;
}

} // namespace

void reportConfigureWriteError(int err) {
    fprintf(stderr, "Error whilst writing output file (%s)\n", strerror(err));
}

bool openConfigureFiles(int argc, char** argv, ConfigureFiles& files) {
    if (argc != 3) {
        fprintf(stderr, "Usage : %s <input> <output>\n", argv[0]);
        return false;
    }
    const char* input_name = argv[1];
    const char* output_name = argv[2];
    if (strcmp(input_name, output_name) == 0) {
        fprintf(stderr, "input and output files must be different\n");
        return false;
    }
    files.ifil = fopen(input_name, "r");
    if (!files.ifil) {
        fprintf(stderr, "Error opening input file %s (%s)\n\n", input_name, strerror(errno));
        return false;
    }
    struct stat input_status;
    if (fstat(fileno(files.ifil), &input_status) != 0) {
        fprintf(stderr, "Error examining input file %s (%s)\n\n", input_name, strerror(errno));
        fclose(files.ifil);
        return false;
    }
    files.ifil_mode = input_status.st_mode;
    if (namesInputFile(output_name, input_status)) {
        fprintf(stderr, "input and output files must be different\n");
        fclose(files.ifil);
        return false;
    }
    // The output is written in place, as it goes; its failures are told
    // here, in this program's own words.
    files.ofil = CheckedOutput::tryFile(output_name, OnWriteFailure::Quiet);
    if (!files.ofil.isOpen()) {
        fprintf(stderr, "Error opening output file %s (%s)\n\n", output_name,
                strerror(files.ofil.errorNumber()));
        fclose(files.ifil);
        return false;
    }
    return true;
}

int finishConfigure(ConfigureFiles& files, const char* output_name, bool copied) {
    fclose(files.ifil);
    // An incomplete output must not pass for a copy. Only a regular file
    // goes: never a device such as /dev/full, a pipe, or a symbolic link
    // (nor what it points to). The run created or truncated it, so nothing
    // is lost that the run had not already overwritten.
    if (!copied) {
        files.ofil.discard();
        return 1;
    }
    // The last characters are still in the stream's buffer; a failure to
    // write them is a write error like any other.
    if (!files.ofil.flush()) {
        reportConfigureWriteError(files.ofil.errorNumber());
        return 1;
    }
    // Only on a regular file: a device or pipe given as the output
    // (/dev/null, say) is shared by the whole system.
    if (!files.ofil.setPermissionBits(files.ifil_mode)) {
        fprintf(stderr, "Error chmod'ing output file %s (%s)\n\n", output_name, strerror(errno));
        files.ofil.finish();
        return 1;
    }
    // The file system may report a failed write only when it is closed.
    if (!files.ofil.finish()) {
        reportConfigureWriteError(files.ofil.errorNumber());
        return 1;
    }
    return 0;
}
