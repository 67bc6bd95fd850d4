#include "zeSharedBands.h"

#include <algorithm>

namespace {

template <typename T>
int sharedAtLeast(const T* a, int na, const T* b, int nb, T tolerance, int needed) {
    int i = 0, j = 0, m = 0;
    while (i < na && j < nb) {
        // Every band left could still match at best once.
        if (m + std::min(na - i, nb - j) < needed) return m;
        T d = a[i] - b[j];
        if (d > tolerance) {
            j++;
        } else if (d < -tolerance) {
            i++;
        } else {
            m++;
            i++;
            j++;
        }
    }
    return m;
}

} // namespace

int sharedBandsAtLeast(const int* a, int na, const int* b, int nb, int tolerance, int needed) {
    return sharedAtLeast(a, na, b, nb, tolerance, needed);
}

int sharedBands(const double* a, int na, const double* b, int nb, double tolerance) {
    return sharedAtLeast(a, na, b, nb, tolerance, 0);
}

int sharedBands(const int* a, int na, const int* b, int nb, int tolerance) {
    return sharedBandsAtLeast(a, na, b, nb, tolerance, 0);
}

bool hasBandNear(const std::vector<int>& bands, int at, int tolerance) {
    auto found = std::lower_bound(bands.begin(), bands.end(), at - tolerance);
    return found != bands.end() && *found <= at + tolerance;
}
