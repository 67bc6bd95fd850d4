#include "zeSizeScale.h"

#include <cmath>

double SizeScale::units(double size) const {
    return (std::log(size) - logAtZero) / logPerUnit;
}

bool fitSizeScale(const std::vector<SizedClone>& clones, SizeScale& scale, std::string& error) {
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    scale.smallest = INFINITY;
    scale.largest = 0;
    for (const SizedClone& c : clones) {
        const size_t count = c.sizes.size();
        for (size_t i = 0; i < count; ++i) {
            double size = c.sizes[count - 1 - i];
            if (size <= 0) continue;
            double x = c.print.bands[i], y = std::log(size);
            n += 1;
            sx += x;
            sy += y;
            sxx += x * x;
            sxy += x * y;
            scale.smallest = std::min(scale.smallest, size);
            scale.largest = std::max(scale.largest, size);
        }
    }
    double spread = n * sxx - sx * sx;
    if (n < 2 || spread <= 0) {
        error = "the size files hold too few bands to relate sizes to positions";
        return false;
    }
    scale.logPerUnit = (n * sxy - sx * sy) / spread;
    scale.logAtZero = (sy - scale.logPerUnit * sx) / n;
    if (!(scale.logPerUnit < 0)) {
        error = "the sizes do not fall as the bands' positions rise: the size files do not "
                "belong to these bands";
        return false;
    }
    return true;
}
