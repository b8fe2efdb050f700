#include "render/picture_geometry.hpp"

#include "core/checked_arithmetic.hpp"

std::int32_t PictureColumn(long double x)
{
    return RoundToInt32(x);
}

std::int32_t PictureRow(const RunSettings& settings, long double y)
{
    return CheckedSubtract(settings.PictureHeight, RoundToInt32(y));
}

float LimitRadius(const RunSettings& settings, const PanelLayout& layout)
{
    return StoreSingle(static_cast<long double>(settings.SMax) * layout.Scale);
}
