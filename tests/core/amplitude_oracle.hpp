#pragma once
// An independent route to StructureAmplitudeReference's results that the
// catalogue sweep can afford: the reference's own steps, with the extended
// cosine and sine taken only where glibc's double ones (within an ulp of the
// truth) cannot decide the single-precision sum. It shares no code with the
// kernel, and the sweep holds it to the literal reference on the largest case.

#include "core/checked_arithmetic.hpp"
#include "crystal/extended_constants.hpp"
#include "crystal/structure.hpp"

#include <cmath>
#include <cstdint>

namespace amplitude_oracle {

// s = single(term + s) where term is cos t or sin t: decided from the double
// value when every number within the bound rounds to the same single.
inline float AddTerm(double term, float sum, long double exactTerm(long double), float t)
{
    const double total = term + sum;
    const double bound = 0x1p-49 + std::fabs(total) * 0x1p-50;
    const float low = static_cast<float>(total - bound);
    if (low == static_cast<float>(total + bound))
        return low;
    return StoreSingle(exactTerm(t) + sum);
}

inline long double ExtendedCos(long double t) { return std::cos(t); }
inline long double ExtendedSin(long double t) { return std::sin(t); }

inline float Amplitude(const AtomSites& sites, std::int32_t h, std::int32_t k, std::int32_t l)
{
    const long double hf = static_cast<float>(h);
    const long double kf = static_cast<float>(k);
    const long double lf = static_cast<float>(l);
    float c = 0;
    float s = 0;
    for (std::int32_t n = 0; n < sites.SiteCount; ++n) {
        const std::size_t i = static_cast<std::size_t>(n);
        const float t =
            StoreSingle(((hf * sites.SiteX[i] + kf * sites.SiteY[i]) + lf * sites.SiteZ[i]) * extended::kTwoPi);
        if (t == 0) {
            // cos 0 = 1 and sin 0 = 0 exactly; a sum of two singles rounds the
            // same through double as through extended precision.
            c = static_cast<float>(1.0 + c);
            continue;
        }
        double sine, cosine;
        sincos(static_cast<double>(t), &sine, &cosine);
        c = AddTerm(cosine, c, ExtendedCos, t);
        s = AddTerm(sine, s, ExtendedSin, t);
    }
    return StoreSingle(std::sqrt(static_cast<long double>(c) * c + static_cast<long double>(s) * s));
}

}  // namespace amplitude_oracle
