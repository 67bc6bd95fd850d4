// The lane strip of one sample on the standard scale, as the report shows
// it: every interior row of the strip resampled with the step's normTrace
// and drawn with the grey rule of the Results pictures, standard position
// running down the picture and the strip's rows across it.
#ifndef ZE_GELPICTURE_H
#define ZE_GELPICTURE_H

#include <vector>

#include "zeStepData.h"

// Standard positions shown: a quarter of the scale, chosen by the rule that
// picks the pixels of a Results picture of this width.
const int GEL_PICTURE_HEIGHT = 1150;
// Strips with more interior rows show this many, evenly spread by the
// Results pictures' row rule: a strip is drawn 28 pixels wide, so more
// columns would only make the page heavier.
const int GEL_PICTURE_MAX_COLUMNS = 16;

// Rows of the strip that become columns: the interior rows 1 .. rowCount-2
// (at most GEL_PICTURE_MAX_COLUMNS of them); a strip without interior rows
// shows its trace row rowCount / 2.
std::vector<int> pictureRows(int rowCount);

struct GelPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> grey; // height rows of width bytes
};

GelPicture samplePicture(StepData& d, int sample);

#endif
