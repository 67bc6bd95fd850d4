#include "ics.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "icsFailure.h"
#include "zeWriteCheck.h"

namespace {

// Appends printf-style text of whatever length the values need.
void appendf(std::string& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length > 0) {
        size_t start = out.size();
        out.resize(start + (size_t)length + 1);
        vsnprintf(&out[start], (size_t)length + 1, format, again);
        out.resize(start + (size_t)length);
    }
    va_end(again);
}

// The record's text fields are fixed arrays; a field filled to its last
// byte has no terminator, so never read beyond the array.
template <size_t N> void appendField(std::string& out, const char (&field)[N]) {
    out.append(field, strnlen(field, N));
}

// Builds the header text; false when a required entry is absent or the
// parameter count does not fit the record.
bool buildHeader(const char* name, const ICS& ics, std::string& header) {
    // Field separator and record separator of the format.
    header += "\t\n";
    header += "ics_version\t1.0\n";
    if (name) {
        header += "filename\t";
        header += name;
        header += "\n";
    }

    if (!ics.valid_parameters) return false;
    if (ics.parameters < 1 || ics.parameters > ICS_MAXDIM) return false;
    const int parameters = ics.parameters;
    appendf(header, "layout\tparameters\t%d\n", parameters);

    if (!ics.valid_order) return false;
    header += "layout\torder";
    for (int i = 0; i < parameters; i++) {
        header += "\t";
        appendField(header, ics.order[i]);
    }
    header += "\n";

    if (!ics.valid_sizes) return false;
    header += "layout\tsizes";
    for (int i = 0; i < parameters; i++)
        appendf(header, "\t%d", ics.sizes[i]);
    header += "\n";

    if (!ics.valid_coordinates) return false;
    header += "layout\tcoordinates\t";
    appendField(header, ics.coordinates);
    header += "\n";

    if (!ics.valid_significant_bits) return false;
    appendf(header, "layout\tsignificant_bits\t%d\n", ics.significant_bits);

    if (ics.valid_format) {
        header += "representation\tformat\t";
        appendField(header, ics.format);
        header += "\n";
    }
    if (ics.valid_sign) {
        header += "representation\tsign\t";
        header += ics.sign ? "signed\n" : "unsigned\n";
    }
    if (ics.valid_compression) {
        header += "representation\tcompression\t";
        appendField(header, ics.compression_name);
        header += "\n";
    }
    if (ics.valid_byte_order) {
        // One entry per byte of a sample, at most as many as the record has.
        int bytes = ics.sizes[0] / 8;
        const int maxBytes = (int)(sizeof ics.byte_order / sizeof ics.byte_order[0]);
        if (bytes > maxBytes) bytes = maxBytes;
        header += "representation\tbyte_order";
        for (int i = 0; i < bytes; i++)
            appendf(header, "\t%d", ics.byte_order[i]);
        header += "\n";
    }
    if (ics.valid_origin) {
        header += "parameter\torigin";
        for (int i = 0; i < parameters; i++)
            appendf(header, "\t%f", (double)ics.origin[i]);
        header += "\n";
    }
    if (ics.valid_scale) {
        header += "parameter\tscale";
        for (int i = 0; i < parameters; i++)
            appendf(header, "\t%f", (double)ics.scale[i]);
        header += "\n";
    }
    if (ics.valid_labels) {
        header += "parameter\tlabels";
        for (int i = 0; i < parameters; i++) {
            header += "\t";
            appendField(header, ics.labels[i]);
        }
        header += "\n";
    }
    if (ics.valid_units) {
        header += "parameter\tunits";
        for (int i = 0; i < parameters; i++) {
            header += "\t";
            appendField(header, ics.units[i]);
        }
        header += "\n";
    }
    if (ics.extra_length > 0 && ics.extra_text)
        header.append(ics.extra_text, strnlen(ics.extra_text, (size_t)ics.extra_length));
    return true;
}

} // namespace

int write_ics(char* name, ICS* ics) {
    // The header is complete in memory before anything is opened, so a
    // refused record leaves no file behind.
    std::string header;
    try {
        if (!buildHeader(name, *ics, header)) return -4;
    } catch (const std::bad_alloc&) {
        return -1;
    }

    if (!name) {
        fwrite(header.data(), 1, header.size(), stdout);
        return 0;
    }

    CheckedOutput out = CheckedOutput::file(std::string(name) + ".ics", OnWriteFailure::Quiet);
    if (!out.isOpen()) return icsFailure(out, -2);
    // The header usually fits the stream's buffer, so a full disk shows up
    // only when the file is closed.
    out.write(header);
    if (!out.finish()) return icsFailure(out, -3);
    return 0;
}
