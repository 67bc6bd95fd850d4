// Greyscale pictures as PNG data for the package's pages, inline as data: URIs
// so that the page needs no other file.
#ifndef ZE_PNGDATA_H
#define ZE_PNGDATA_H

#include <string>
#include <vector>

// Standard base64 (RFC 4648) with padding, no line breaks.
std::string base64(const std::string& bytes);

// An 8-bit greyscale PNG of width x height pixels, rows top to bottom, each
// width bytes. Empty when the picture has no pixels or libpng fails.
std::string greyPng(const std::vector<unsigned char>& pixels, int width, int height);

// "data:image/png;base64,..." of greyPng.
std::string greyPngDataUri(const std::vector<unsigned char>& pixels, int width, int height);

#endif
