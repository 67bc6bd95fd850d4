// Normalisation factors built directly from (norm, gel) pairs, for tests.
#ifndef ZE_FAC_SUPPORT_H
#define ZE_FAC_SUPPORT_H

#include <utility>
#include <vector>

#include "zeNormFac.h"

inline NormFac facFromPairs(const std::vector<std::pair<float, float>>& normGel, bool nonlinear) {
    dp_Accum<Coords> src;
    for (const auto& p : normGel)
        src.append(Coords{p.first, p.second});
    NormFac fac;
    fac.nonlinear = nonlinear;
    fac.initFrom(src);
    return fac;
}

#endif
