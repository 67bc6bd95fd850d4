// The standard scale every lane is mapped onto: positions 0 to 4599. The
// resampled traces and pictures have this many rows, and the Sulston score
// takes it as the length G over which bands fall by chance.
#ifndef ZE_SCALE_H
#define ZE_SCALE_H

const int NORM_SCALE_LENGTH = 4600;

#endif
