#include "zeGelPicture.h"

#include "zeGelStrip.h"
#include "zeNormTrace.h"

std::vector<int> pictureRows(int rowCount) {
    std::vector<int> rows;
    int interior = rowCount - 2;
    if (interior < 1) {
        if (rowCount >= 1) rows.push_back(rowCount / 2);
        return rows;
    }
    for (int r = 1; r <= interior; r++)
        if (stripRowDrawn(r, interior, GEL_PICTURE_MAX_COLUMNS)) rows.push_back(r);
    return rows;
}

GelPicture samplePicture(StepData& d, int sample) {
    GelPicture pic;
    std::vector<int> rows = pictureRows(d.rowCount);
    pic.width = (int)rows.size();
    pic.height = GEL_PICTURE_HEIGHT;
    pic.grey.assign((size_t)pic.width * pic.height, 255);
    NormFac& fac = d.normFacs(sample / d.project.dyenumber);
    std::vector<float> resampled(NORM_SCALE_LENGTH);
    for (int column = 0; column < pic.width; column++) {
        // The rows hold rowLength bytes: that is what the resampling may read.
        normTrace(d.laneRows(sample, rows[column]), resampled.data(), d.rowLength, fac);
        int y = 0;
        for (int p = 0; p < NORM_SCALE_LENGTH && y < pic.height; p++) {
            if (!stripPositionDrawn(p, pic.height)) continue;
            pic.grey[(size_t)y * pic.width + column] = stripGrey(resampled[p]);
            y++;
        }
    }
    return pic;
}
