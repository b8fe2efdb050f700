#include "render/draw_spots.hpp"

#include "core/checked_arithmetic.hpp"

#include <QColor>

#include <algorithm>

void DrawSpots(const RunSettings& settings, const ReflectionList& list, float minReciprocalLength,
               const PanelLayout& layout, float& maxSpotRadius, Canvas& canvas)
{
    float strongest = 0;
    for (std::int32_t i = 0; i < list.ReflectionCount; ++i) {
        CheckIndex(i, kReflectionSlots);
        strongest = std::max(strongest, list.Amplitude[i]);
    }

    // Never larger than 0.4 of the shortest axis as drawn, so neighbouring
    // spots cannot touch.
    maxSpotRadius = StoreSingle(0.4L * minReciprocalLength * layout.Scale);
    const long double cap = CheckedMultiply(9, settings.ResolutionFactor);
    maxSpotRadius = StoreSingle(std::min(static_cast<long double>(maxSpotRadius), cap));
    const float factor = StoreSingle(CheckedDivide(maxSpotRadius, strongest));

    canvas.setBrushColor(Qt::black);
    for (std::int32_t i = 0; i < list.ReflectionCount; ++i) {
        const std::int32_t r = RoundToInt32(static_cast<long double>(list.Amplitude[i]) * factor);
        const std::int32_t x = list.PixelX[i], y = list.PixelY[i];
        canvas.ellipse(CheckedSubtract(x, r), CheckedSubtract(y, r), CheckedAdd(x, r), CheckedAdd(y, r));
    }
}
