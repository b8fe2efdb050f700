#include "render/layout_panels.hpp"

#include "core/checked_arithmetic.hpp"
#include "render/picture_geometry.hpp"

#include <QColor>

void LayoutPanels(RunSettings& settings, PanelLayout& layout, Canvas& canvas)
{
    const long double width = settings.PictureWidth;
    const long double height = settings.PictureHeight;

    const long double divisor = 6.0L * settings.SMax;
    layout.Scale = StoreSingle(CheckedDivide(width * 0.9L, divisor));
    settings.SMaxSquared = StoreSingle(static_cast<long double>(settings.SMax) * settings.SMax);
    const float radius = LimitRadius(settings, layout);

    layout.Centre1X = StoreSingle(width / 6.0L);
    layout.Centre1Y = StoreSingle(height / 2.1L);
    layout.Centre2X = StoreSingle(width / 2.0L);
    layout.Centre2Y = layout.Centre1Y;
    layout.Centre3X = StoreSingle((width / 6.0L) * 5.0L);
    layout.Centre3Y = layout.Centre1Y;

    // The previous run left the brush clear, which would fill nothing; setting
    // its colour makes it solid again.
    canvas.setBrushColor(Qt::white);
    canvas.fillRect(0, 0, settings.PictureWidth, settings.PictureHeight);
    canvas.setPenColor(Qt::black);

    const float centres[3][2] = {{layout.Centre1X, layout.Centre1Y},
                                 {layout.Centre2X, layout.Centre2Y},
                                 {layout.Centre3X, layout.Centre3Y}};
    for (const auto& centre : centres) {
        const long double cx = centre[0], cy = centre[1];
        canvas.ellipse(PictureColumn(cx - radius), PictureRow(settings, cy - radius),
                       PictureColumn(cx + radius), PictureRow(settings, cy + radius));
    }
}
