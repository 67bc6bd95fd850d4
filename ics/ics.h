// Writer of ICS 1.0 image files: a text header (.ics) and raw data (.ids).
// Both files are written through the checked output (zeWriteCheck.h): each
// is registered as unfinished until it is complete, and one that could not
// be written whole is removed (a regular file only). After -2 or -3 errno
// holds the error number of the call that failed; nothing is printed.
#ifndef ZE_ICS_H
#define ZE_ICS_H

#define ICS_MAXDIM 5

struct ICS {
    int valid_parameters;
    int parameters;
    int valid_order;
    char order[ICS_MAXDIM][10];
    int valid_sizes;
    int sizes[ICS_MAXDIM];
    int valid_significant_bits;
    int significant_bits;
    int valid_origin;
    float origin[ICS_MAXDIM];
    int valid_scale;
    float scale[ICS_MAXDIM];
    int valid_labels;
    char labels[ICS_MAXDIM][20];
    int valid_units;
    char units[ICS_MAXDIM][20];
    int valid_coordinates;
    char coordinates[20];
    int valid_format;
    char format[20];
    int valid_sign;
    int sign;
    int valid_compression;
    char compression_name[20];
    int valid_byte_order;
    int byte_order[16];
    int extra_length;
    char* extra_text;
};

void fill_ics(short ndims, long* origin, long* sizes, short bits, ICS* ics);
// 0 on success; -1 no memory, -2 cannot open, -3 short write, -4 a required
// entry is missing. A null name prints the header on standard output.
int write_ics(char* name, ICS* ics);
// 0 on success; -2 cannot open, -3 short write.
int write_ids(char* name, char* data, int length);

#endif
