#include "zeGelStrip.h"

#include "zeNormFac.h"
#include "zeTruncate.h"

namespace {

// Pixels held before a write; rows up to this width take one write each,
// wider ones are written in pieces rather than claiming memory per pixel.
const int MAX_BUFFERED_PIXELS = 65536;

const unsigned char WHITE = 255;

}  // namespace

unsigned char stripGrey(float intensity) {
    if (intensity < 0) return WHITE;
    if (intensity > 255) return 0;
    // NaN fails both tests above; truncToInt makes it 0, so it draws white.
    return (unsigned char)(255 - truncToInt(intensity));
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
      used(0) {}

void StripRowWriter::writeRow(FILE* out, const float* resampled) {
    int written = 0;
    for (int p = 0; p < NORM_SCALE_LENGTH && written < width; p++) {
        if (!stripPositionDrawn(p, width)) continue;
        put(out, stripGrey(resampled[p]));
        written++;
    }
    for (; written < width; written++) put(out, WHITE);
    flush(out);
}

void StripRowWriter::put(FILE* out, unsigned char grey) {
    if (used == bytes.size()) flush(out);
    bytes[used++] = grey;
    bytes[used++] = grey;
    bytes[used++] = grey;
}

void StripRowWriter::flush(FILE* out) {
    // A short write shows up as a short file; nothing here can mend it.
    if (used > 0) (void)fwrite(bytes.data(), 1, used, out);
    used = 0;
}
