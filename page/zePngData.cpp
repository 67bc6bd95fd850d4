#include "zePngData.h"

#include <png.h>

#include <cstring>

std::string base64(const std::string& bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        unsigned v = (unsigned char)bytes[i] << 16 | (unsigned char)bytes[i + 1] << 8 |
                     (unsigned char)bytes[i + 2];
        out += digits[v >> 18];
        out += digits[(v >> 12) & 63];
        out += digits[(v >> 6) & 63];
        out += digits[v & 63];
    }
    size_t rest = bytes.size() - i;
    if (rest > 0) {
        unsigned v = (unsigned char)bytes[i] << 16;
        if (rest == 2) v |= (unsigned char)bytes[i + 1] << 8;
        out += digits[v >> 18];
        out += digits[(v >> 12) & 63];
        out += rest == 2 ? digits[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string greyPng(const std::vector<unsigned char>& pixels, int width, int height) {
    if (width <= 0 || height <= 0 || pixels.size() < (size_t)width * height) return "";
    // The simplified API reports failure by its result and needs no setjmp.
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = (png_uint_32)width;
    image.height = (png_uint_32)height;
    image.format = PNG_FORMAT_GRAY;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), width, nullptr))
        return "";
    std::string png(size, '\0');
    if (!png_image_write_to_memory(&image, &png[0], &size, 0, pixels.data(), width, nullptr)) {
        png_image_free(&image);
        return "";
    }
    png.resize(size);
    return png;
}

std::string greyPngDataUri(const std::vector<unsigned char>& pixels, int width, int height) {
    return "data:image/png;base64," + base64(greyPng(pixels, width, height));
}
