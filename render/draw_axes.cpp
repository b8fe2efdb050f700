#include "render/draw_axes.hpp"

#include "core/checked_arithmetic.hpp"
#include "crystal/extended_constants.hpp"
#include "render/picture_geometry.hpp"

#include <QColor>

#include <cmath>
#include <cstdint>
#include <string>

namespace {

struct Panel {
    float centreX, centreY;
    const char* firstLetter;
    float firstLength;  // basis vector along the first axis
    float angle;        // of the oblique axis, degrees counter-clockwise
    const char* obliqueLetter;
    float obliqueLength;
    const char* label[2];  // by LayerIndex
};

}  // namespace

void DrawAxes(const RunSettings& settings, const ReciprocalParameters& reciprocal, const PanelLayout& layout,
              Canvas& canvas)
{
    canvas.setPenColor(Qt::black);
    canvas.setFontName("Script");
    canvas.setFontSize(CheckedMultiply(22, settings.ResolutionFactor));
    const float radius = LimitRadius(settings, layout);

    const Panel panels[3] = {
        {layout.Centre1X, layout.Centre1Y, "h", reciprocal.AStar, reciprocal.GammaStar, "k", reciprocal.BStar,
         {"{hk0}", "{hk1}"}},
        {layout.Centre2X, layout.Centre2Y, "h", reciprocal.AStar, reciprocal.BetaStar, "l", reciprocal.CStar,
         {"{h0l}", "{h1l}"}},
        {layout.Centre3X, layout.Centre3Y, "k", reciprocal.BStar, reciprocal.AlphaStar, "l", reciprocal.CStar,
         {"{0kl}", "{1kl}"}},
    };
    bool firstPanel = true;
    for (const Panel& panel : panels) {
        const long double cx = panel.centreX, cy = panel.centreY;
        const long double angle = panel.angle * extended::kDegree;
        const float dx = StoreSingle(std::cos(angle) * settings.SMax * layout.Scale);
        const float dy = StoreSingle(std::sin(angle) * settings.SMax * layout.Scale);
        const std::int32_t originX = PictureColumn(cx);
        const std::int32_t originY = PictureRow(settings, cy);

        canvas.moveTo(originX, originY);
        if (settings.AxesOn)
            canvas.lineTo(PictureColumn(cx + radius), canvas.penPosition().y());
        if (firstPanel)
            canvas.setBrushClear();  // for the rest of the run: no text background, hollow markers
        if (settings.AxesOn) {
            // Three quarters of the letter above the axis, near its end.
            const std::string letter = panel.firstLetter;
            const std::int32_t raise = RoundToInt32(0.75L * canvas.textHeight(letter));
            canvas.textOut(PictureColumn(cx + 0.9L * radius), CheckedSubtract(canvas.penPosition().y(), raise),
                           letter);
        }

        canvas.moveTo(originX, originY);
        if (settings.AxesOn) {
            canvas.lineTo(PictureColumn(cx + dx), PictureRow(settings, cy + dy));
            // The letter hangs to the right of the axis: its corner is half its
            // width to the right of the point at 0.95 of the axis.
            const std::string letter = panel.obliqueLetter;
            canvas.textOut(CheckedAdd(PictureColumn(cx + 0.95L * dx), canvas.textWidth(letter) / 2),
                           PictureRow(settings, cy + 0.95L * dy), letter);
        }

        CheckIndex(settings.LayerIndex, 2);
        const std::string label = panel.label[settings.LayerIndex];
        canvas.textOut(CheckedSubtract(originX, canvas.textWidth(label) / 2), PictureRow(settings, cy - 1.1L * radius),
                       label);

        if (!settings.ExerciseMode) {
            // A basis vector too long for the picture's coordinates ends the
            // run half-way; the thin pen must still come back, or every later
            // picture would be drawn with the thick one.
            struct ThinPenAfterwards {
                Canvas& canvas;
                ~ThinPenAfterwards() { canvas.setPenWidth(1); }
            } thinPenAfterwards{canvas};
            canvas.setPenWidth(3);
            canvas.moveTo(originX, originY);
            canvas.lineTo(PictureColumn(cx + static_cast<long double>(panel.firstLength) * layout.Scale),
                          canvas.penPosition().y());
            canvas.moveTo(originX, originY);
            const long double along = std::cos(angle) * panel.obliqueLength * layout.Scale;
            const long double up = std::sin(angle) * panel.obliqueLength * layout.Scale;
            canvas.lineTo(PictureColumn(cx + along), PictureRow(settings, cy + up));
        }
        firstPanel = false;
    }

    if (settings.LayerIndex == 0) {
        for (const Panel& panel : panels) {
            const long double cx = panel.centreX, cy = panel.centreY;
            canvas.ellipse(PictureColumn(cx - 5), PictureRow(settings, cy - 5), PictureColumn(cx + 5),
                           PictureRow(settings, cy + 5));
        }
    }
}
