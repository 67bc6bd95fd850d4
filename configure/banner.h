// The banner and instructions lumo_configure shows before the first prompt.
#ifndef LUMO_BANNER_H
#define LUMO_BANNER_H

#include <cstdio>

void printBanner(FILE* out);

#endif
