// The gel strip picture of one sample: a binary PPM (P6) whose rows are
// interior rows of the lane strip resampled onto the standard scale, in
// grey (three equal bytes per pixel), high intensities dark.
#ifndef ZE_GELSTRIP_H
#define ZE_GELSTRIP_H

#include <vector>

#include "zeWriteCheck.h"

// Grey value of a resampled intensity: 255 below 0, 0 above 255, otherwise
// 255 minus the intensity truncated toward zero.
unsigned char stripGrey(float intensity);

// Width and height the header declares; negative sizes are drawn as empty.
int stripWidth(int outputxsize);
int stripHeight(int outputysize, int rowCount);

// Whether interior row r (1 .. interiorRows) is drawn into an image of
// outputysize rows: exactly when r * Y / M steps up at r + 1.
bool stripRowDrawn(int r, int interiorRows, int outputysize);
// Whether standard position p becomes a pixel of a row of width pixels:
// exactly when p * X / 4600 steps up at p + 1.
bool stripPositionDrawn(int p, int width);

// Writes the rows of one picture, each in as few writes as possible. The
// drawn positions and the pixel buffer are kept between rows and pictures.
class StripRowWriter {
  public:
    explicit StripRowWriter(int width);
    // One row from the 4600 resampled intensities; positions beyond the
    // standard scale (width above 4600) are white.
    void writeRow(CheckedOutput& out, const float* resampled);

  private:
    void put(CheckedOutput& out, unsigned char grey);
    void flush(CheckedOutput& out);

    int width;
    std::vector<int> drawn;  // standard positions that become pixels, ascending
    std::vector<unsigned char> bytes;
    size_t used;
};

#endif
