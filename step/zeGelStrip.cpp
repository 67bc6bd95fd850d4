#include "zeGelStrip.h"

#include <cstring>

#include "zeNormFac.h"

namespace {

// Pixels held before a write; rows up to this width take one write each,
// wider ones are written in pieces rather than claiming memory per pixel.
const int MAX_BUFFERED_PIXELS = 65536;

const unsigned char WHITE = 255;

}  // namespace

unsigned char stripGrey(float intensity) {
    // Clamped to [0, 255] first: below 0 (and NaN, which fails every
    // comparison) draws white, above 255 black; in between the conversion
    // truncates toward zero.
    float clamped = intensity > 0 ? (intensity < 255 ? intensity : 255) : 0;
    return (unsigned char)(255 - (int)clamped);
}

int stripWidth(int outputxsize) { return outputxsize > 0 ? outputxsize : 0; }

int stripHeight(int outputysize, int rowCount) {
    long long interior = (long long)rowCount - 2;
    long long height = outputysize < interior ? outputysize : interior;
    return height > 0 ? (int)height : 0;
}

bool stripRowDrawn(int r, int interiorRows, int outputysize) {
    long long m = interiorRows, y = outputysize;
    return (r + 1LL) * y / m != r * y / m;
}

bool stripPositionDrawn(int p, int width) {
    long long x = width;
    return (p + 1LL) * x / NORM_SCALE_LENGTH != p * x / NORM_SCALE_LENGTH;
}

StripRowWriter::StripRowWriter(int width)
    : width(stripWidth(width)),
      bytes(3 * (size_t)(this->width < MAX_BUFFERED_PIXELS ? this->width : MAX_BUFFERED_PIXELS)),
      used(0) {
    for (int p = 0; p < NORM_SCALE_LENGTH && (int)drawn.size() < this->width; p++)
        if (stripPositionDrawn(p, this->width)) drawn.push_back(p);
}

void StripRowWriter::writeRow(CheckedOutput& out, const float* resampled) {
    if (width == 0) return;
    size_t drawnCount = drawn.size();
    if (3 * (size_t)width <= bytes.size()) {
        // The usual case: the whole row is built in the buffer, one write.
        unsigned char* pixel = bytes.data();
        for (size_t i = 0; i < drawnCount; i++, pixel += 3)
            pixel[0] = pixel[1] = pixel[2] = stripGrey(resampled[drawn[i]]);
        memset(pixel, WHITE, 3 * (width - drawnCount));
        out.write(bytes.data(), 3 * (size_t)width);
        return;
    }
    for (int p : drawn)
        put(out, stripGrey(resampled[p]));
    for (int written = (int)drawnCount; written < width; written++)
        put(out, WHITE);
    flush(out);
}

void StripRowWriter::put(CheckedOutput& out, unsigned char grey) {
    if (used == bytes.size()) flush(out);
    bytes[used++] = grey;
    bytes[used++] = grey;
    bytes[used++] = grey;
}

void StripRowWriter::flush(CheckedOutput& out) {
    if (used > 0) out.write(bytes.data(), used);
    used = 0;
}
