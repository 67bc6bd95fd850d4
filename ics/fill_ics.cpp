#include "ics.h"

#include <cstdint>
#include <cstring>

void fill_ics(short ndims, long* origin, long* sizes, short bits, ICS* ics) {
    memset(ics, 0, sizeof(ICS));
    // The record holds ICS_MAXDIM parameters, one of them the sample bits.
    // Dimensions it cannot hold leave every entry absent, so that write_ics
    // refuses the record instead of reading past its arrays.
    if (ndims < 1 || ndims > ICS_MAXDIM - 1) return;

    ics->parameters = ndims + 1;
    ics->valid_parameters = 1;

    strcpy(ics->order[0], "bits");
    strcpy(ics->order[1], "x");
    strcpy(ics->order[2], "y");
    strcpy(ics->order[3], "z");
    ics->valid_order = 1;

    ics->sizes[0] = bits;
    ics->origin[0] = 0.0f;
    for (int i = 0; i < ndims; i++) {
        ics->origin[i + 1] = (float)origin[i];
        ics->sizes[i + 1] = (int)sizes[i];
    }
    ics->valid_origin = 1;
    ics->valid_sizes = 1;

    strcpy(ics->coordinates, "video");
    ics->valid_coordinates = 1;

    ics->significant_bits = ics->sizes[0];
    ics->valid_significant_bits = 1;

    strcpy(ics->format, "integer");
    ics->valid_format = 1;

    ics->sign = ics->sizes[0] > 8 ? 1 : 0;
    ics->valid_sign = 1;

    // The data file holds samples in this machine's own byte order; record
    // where each byte of a 16-bit sample sits by looking at 0x0201 in memory.
    if (ics->sizes[0] == 16) {
        const uint16_t probe = 0x0201;
        unsigned char bytes[2];
        memcpy(bytes, &probe, sizeof bytes);
        ics->byte_order[0] = bytes[0];
        ics->byte_order[1] = bytes[1];
        ics->valid_byte_order = 1;
    }
}
