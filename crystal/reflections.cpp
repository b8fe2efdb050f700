#include "crystal/reflections.hpp"

#include "core/checked_arithmetic.hpp"
#include "crystal/extended_constants.hpp"

#include <cmath>

namespace {

using extended::kDegree;
using extended::kTwoPi;

// One of the three panels: the outer index runs along the axis of length
// outerLength, which makes the angle `angle` with the inner (horizontal) axis.
struct Plane {
    float outerLength;
    float innerLength;
    float angle;  // degrees
    float centreX, centreY;
    int fixedIndexPosition;  // 0, 1 or 2: which Miller index the layer index takes
};

// The Miller indices of pair (inner, outer) in a plane whose fixed index sits
// at `fixed`: hk· → (i, o, L), h·l → (i, L, o), ·kl → (L, i, o).
void MillerIndices(int fixed, std::int32_t layer, std::int32_t inner, std::int32_t outer, std::int32_t hkl[3])
{
    switch (fixed) {
    case 2: hkl[0] = inner; hkl[1] = outer; hkl[2] = layer; break;
    case 1: hkl[0] = inner; hkl[1] = layer; hkl[2] = outer; break;
    default: hkl[0] = layer; hkl[1] = inner; hkl[2] = outer; break;
    }
}

// Enumerates one plane into the list, up to the list's capacity.
void CollectPlane(const Plane& plane, float scale, const RunSettings& settings, const AtomSites& sites,
                  ReflectionList& list)
{
    const long double radians = kDegree * plane.angle;
    const long double sinPhi = std::sin(radians);
    const long double cosPhi = std::cos(radians);
    const long double innerLength = plane.innerLength;
    const long double outerLength = plane.outerLength;

    // Line i of the plane lies |i|·L·sin φ from the origin, so no index beyond
    // SMax / (L·sin φ) can reach the circle. Rounding instead of truncating may
    // admit one line too many, which the limit test then rejects.
    const std::int32_t innerBound = RoundToInt32(CheckedDivide(settings.SMax, sinPhi * innerLength));
    const std::int32_t outerBound = RoundToInt32(CheckedDivide(settings.SMax, sinPhi * outerLength));

    if (list.ReflectionCount >= kMaxReflections)
        return;

    // 64-bit counters: a bound of 2^31 − 1 would overflow a 32-bit loop variable
    // on its last increment.
    for (std::int64_t o = -static_cast<std::int64_t>(outerBound); o <= outerBound; ++o) {
        for (std::int64_t i = -static_cast<std::int64_t>(innerBound); i <= innerBound; ++i) {
            if (settings.LayerIndex == 0 && i == 0 && o == 0)
                continue;  // 000 is the undiffracted beam, not a reflection

            // The plane coordinates are stored as singles before anything uses
            // them: the limit test and the pixel position both see the rounded values.
            const float x = StoreSingle(cosPhi * (o * outerLength) + i * innerLength);
            const float y = StoreSingle(sinPhi * (o * outerLength));

            // Extended squares against the single SMaxSquared: a point exactly on
            // the circle stays, and (±4, 0) at spacing 0.1 with SMax 0.4 stays
            // because 0.4f·0.4f rounds up to 0.16000001.
            const long double x2 = static_cast<long double>(x) * x;
            const long double y2 = static_cast<long double>(y) * y;
            if (x2 + y2 > settings.SMaxSquared)
                continue;

            const std::int32_t pixelX = RoundToInt32(static_cast<long double>(x) * scale + plane.centreX);
            const std::int32_t rowFromBottom =
                RoundToInt32(static_cast<long double>(y) * scale + plane.centreY);
            const std::int32_t pixelY =
                NarrowToInt32(static_cast<std::int64_t>(settings.PictureHeight) - rowFromBottom);

            const std::int32_t index = list.ReflectionCount;
            CheckIndex(index, kReflectionSlots);
            std::int32_t hkl[3];
            MillerIndices(plane.fixedIndexPosition, settings.LayerIndex, static_cast<std::int32_t>(i),
                          static_cast<std::int32_t>(o), hkl);
            list.Amplitude[index] = StructureAmplitude(sites, hkl[0], hkl[1], hkl[2]);
            list.PixelX[index] = pixelX;
            list.PixelY[index] = pixelY;
            list.ReflectionCount = index + 1;
            // A full list takes nothing more, so the rest of the enumeration
            // could change nothing.
            if (list.ReflectionCount >= kMaxReflections)
                return;
        }
    }
}

}  // namespace

float StructureAmplitudeReference(const AtomSites& sites, std::int32_t h, std::int32_t k, std::int32_t l)
{
    CheckIndex(sites.SiteCount, kMaxSites + 1);
    // Indices beyond 2^24 lose their low bits here, as single-precision indices must.
    const long double hf = static_cast<float>(h);
    const long double kf = static_cast<float>(k);
    const long double lf = static_cast<float>(l);
    float c = 0;
    float s = 0;
    for (std::int32_t n = 0; n < sites.SiteCount; ++n) {
        const std::size_t i = static_cast<std::size_t>(n);
        // The phase is rounded to single before its cosine and sine are taken,
        // and each running sum is rounded to single after every site: the
        // extinct reflections' residues (1e-6 for halves, ~0.004 for the table's
        // three-decimal thirds) are what these roundings leave.
        const float t = StoreSingle(((hf * sites.SiteX[i] + kf * sites.SiteY[i]) + lf * sites.SiteZ[i]) * kTwoPi);
        c = StoreSingle(std::cos(static_cast<long double>(t)) + c);
        s = StoreSingle(std::sin(static_cast<long double>(t)) + s);
    }
    return StoreSingle(std::sqrt(static_cast<long double>(c) * c + static_cast<long double>(s) * s));
}

float StructureAmplitude(const AtomSites& sites, std::int32_t h, std::int32_t k, std::int32_t l)
{
    return StructureAmplitudeReference(sites, h, k, l);
}

void CollectReflections(const RunSettings& settings, const ReciprocalParameters& reciprocal,
                        const PanelLayout& layout, const AtomSites& sites, ReflectionList& list)
{
    list.ReflectionCount = 0;
    const Plane planes[3] = {
        {reciprocal.BStar, reciprocal.AStar, reciprocal.GammaStar, layout.Centre1X, layout.Centre1Y, 2},
        {reciprocal.CStar, reciprocal.AStar, reciprocal.BetaStar, layout.Centre2X, layout.Centre2Y, 1},
        {reciprocal.CStar, reciprocal.BStar, reciprocal.AlphaStar, layout.Centre3X, layout.Centre3Y, 0},
    };
    // Every plane's bounds are still computed once the list is full: a bound
    // that faults ends the run whether or not its plane could add anything.
    for (const Plane& plane : planes)
        CollectPlane(plane, layout.Scale, settings, sites, list);
}
