#pragma once
// Reading drawn pictures back: which pixels carry ink, and where.

#include "core/run_settings.hpp"
#include "render/canvas.hpp"

#include <QImage>
#include <QRect>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <string>

// Dark enough to be pen, brush or glyph black rather than the white ground.
inline bool IsInk(const QImage& image, int x, int y)
{
    return image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 128;
}

inline bool IsWhite(const QImage& image, int x, int y)
{
    return image.rect().contains(x, y) && image.pixel(x, y) == qRgb(255, 255, 255);
}

// The smallest rectangle holding every ink pixel of region (null when none).
inline QRect InkBounds(const QImage& image, const QRect& region)
{
    const QRect r = region.intersected(image.rect());
    int left = r.right() + 1, right = r.left() - 1, top = r.bottom() + 1, bottom = r.top() - 1;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (IsInk(image, x, y)) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    return left <= right ? QRect(QPoint(left, top), QPoint(right, bottom)) : QRect();
}

inline int InkCount(const QImage& image, const QRect& region)
{
    const QRect r = region.intersected(image.rect());
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            count += IsInk(image, x, y);
    return count;
}

// The first pixel of region where the two pictures differ, or a null point's
// stand-in (-1, -1) when they agree.
inline QPoint FirstDifference(const QImage& a, const QImage& b, const QRect& region)
{
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QPoint(x, y);
    return QPoint(-1, -1);
}

inline std::string Describe(const QRect& r)
{
    if (r.isNull())
        return "no ink";
    return "(" + std::to_string(r.left()) + "," + std::to_string(r.top()) + ")-(" + std::to_string(r.right()) +
           "," + std::to_string(r.bottom()) + ")";
}

// The picture as ReadSettings leaves it for a run at the given resolution.
inline RunSettings SettingsAt(std::int32_t resolutionFactor, float sMax = 0.4f)
{
    RunSettings settings;
    settings.ResolutionFactor = resolutionFactor;
    settings.PictureWidth = 800 * resolutionFactor;
    settings.PictureHeight = 500 * resolutionFactor;
    settings.Wavelength = 70.926f;
    settings.SMax = sMax;
    return settings;
}
