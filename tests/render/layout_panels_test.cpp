// The panel geometry, the cleared picture and the three limit circles.
#include "render/layout_panels.hpp"

#include "core/run_errors.hpp"
#include "picture_probe.hpp"
#include "render/picture_geometry.hpp"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <cmath>
#include <string>

namespace {

struct Geometry {
    std::int32_t resolutionFactor;
    float sMax;
    float radius;
    std::array<QRect, 3> circles;  // by their two corners as drawn
    std::array<QPoint, 3> origins;
};

const std::array<QRect, 3> kCirclesAt1 = {QRect(QPoint(13, 142), QPoint(253, 382)),
                                          QRect(QPoint(280, 142), QPoint(520, 382)),
                                          QRect(QPoint(547, 142), QPoint(787, 382))};
const std::array<QRect, 3> kCirclesAt2 = {QRect(QPoint(27, 284), QPoint(507, 764)),
                                          QRect(QPoint(560, 284), QPoint(1040, 764)),
                                          QRect(QPoint(1093, 284), QPoint(1573, 764))};
const std::array<QPoint, 3> kOriginsAt1 = {QPoint(133, 262), QPoint(400, 262), QPoint(667, 262)};
const std::array<QPoint, 3> kOriginsAt2 = {QPoint(267, 524), QPoint(800, 524), QPoint(1333, 524)};

void PrintTo(const Geometry& g, std::ostream* os)
{
    *os << "RF " << g.resolutionFactor << ", SMax " << g.sMax;
}

class LayoutGeometry : public ::testing::TestWithParam<Geometry> {};

// The geometry depends on the resolution only: any SMax, a negative one
// included, gives the same circles.
TEST_P(LayoutGeometry, DrawsTheThreeLimitCirclesAtTheirFixedPlaces)
{
    const Geometry& g = GetParam();
    RunSettings settings = SettingsAt(g.resolutionFactor, g.sMax);
    Canvas canvas;
    canvas.setSize(settings.PictureWidth, settings.PictureHeight);
    PanelLayout layout;
    LayoutPanels(settings, layout, canvas);

    EXPECT_FLOAT_EQ(layout.Scale, 120.0f * g.resolutionFactor / g.sMax);
    EXPECT_FLOAT_EQ(settings.SMaxSquared, g.sMax * g.sMax);
    EXPECT_NEAR(LimitRadius(settings, layout), g.radius, 1e-4);
    const float w = settings.PictureWidth, h = settings.PictureHeight;
    EXPECT_FLOAT_EQ(layout.Centre1X, w / 6);
    EXPECT_FLOAT_EQ(layout.Centre2X, w / 2);
    EXPECT_FLOAT_EQ(layout.Centre3X, w / 6 * 5);
    EXPECT_FLOAT_EQ(layout.Centre1Y, h / 2.1f);
    EXPECT_EQ(layout.Centre2Y, layout.Centre1Y);
    EXPECT_EQ(layout.Centre3Y, layout.Centre1Y);

    const QImage& image = canvas.image();
    for (int panel = 0; panel < 3; ++panel) {
        SCOPED_TRACE("panel " + std::to_string(panel + 1));
        const QRect& box = g.circles[panel];
        // Everything in and around the panel is the circle: its ink touches the
        // box's four sides, in the middle of each.
        EXPECT_EQ(InkBounds(image, box.adjusted(-10, -10, 10, 10)), box)
            << Describe(InkBounds(image, box.adjusted(-10, -10, 10, 10)));
        const QPoint o = g.origins[panel];
        EXPECT_EQ(box.center(), o);
        for (const QPoint p : {QPoint(box.left(), o.y()), QPoint(box.right(), o.y()), QPoint(o.x(), box.top()),
                               QPoint(o.x(), box.bottom())})
            EXPECT_TRUE(IsInk(image, p.x(), p.y())) << p.x() << "," << p.y();
        // A thin outline round a white interior.
        EXPECT_TRUE(IsWhite(image, box.left() + 2, o.y()));
        EXPECT_TRUE(IsWhite(image, o.x(), o.y()));
        // Round, not a rectangle: the box's corners stay white and the outline
        // passes through the diagonal at the radius.
        EXPECT_TRUE(IsWhite(image, box.left(), box.top()));
        EXPECT_TRUE(IsWhite(image, box.right(), box.bottom()));
        const int diagonal = static_cast<int>(std::lround(g.radius / std::sqrt(2.0f)));
        EXPECT_GT(InkCount(image, QRect(o.x() + diagonal - 1, o.y() - diagonal - 1, 3, 3)), 0);
    }
    // Nothing else: the picture outside the three boxes is white.
    int outside = InkCount(image, image.rect());
    for (const QRect& box : g.circles)
        outside -= InkCount(image, box);
    EXPECT_EQ(outside, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Resolutions, LayoutGeometry,
    ::testing::Values(Geometry{1, 0.4f, 120, kCirclesAt1, kOriginsAt1}, Geometry{1, 1.7f, 120, kCirclesAt1, kOriginsAt1},
                      Geometry{1, -0.4f, 120, kCirclesAt1, kOriginsAt1},
                      Geometry{2, 0.4f, 240, kCirclesAt2, kOriginsAt2},
                      Geometry{2, 0.013f, 240, kCirclesAt2, kOriginsAt2}));

TEST(LayoutPanels, ScaleAtLimitPointFour)
{
    for (const std::int32_t factor : {1, 2}) {
        RunSettings settings = SettingsAt(factor, 0.4f);
        Canvas canvas;
        canvas.setSize(settings.PictureWidth, settings.PictureHeight);
        PanelLayout layout;
        LayoutPanels(settings, layout, canvas);
        EXPECT_EQ(layout.Scale, 300.0f * factor);
        EXPECT_EQ(LimitRadius(settings, layout), 120.0f * factor);
    }
}

// A picture with a run's worth of ink on it and a clear brush, as the last
// run's DrawAnnotation leaves it.
void DrawLastRun(Canvas& canvas)
{
    canvas.setBrushColor(Qt::black);
    canvas.fillRect(0, 0, canvas.width(), canvas.height());
    canvas.setBrushClear();
    canvas.setPenColor(Qt::red);
}

TEST(LayoutPanels, ClearsToWhiteAfterARunThatLeftTheBrushClear)
{
    RunSettings settings = SettingsAt(1);
    Canvas canvas;
    canvas.setSize(settings.PictureWidth, settings.PictureHeight);
    DrawLastRun(canvas);
    PanelLayout layout;
    LayoutPanels(settings, layout, canvas);

    const QImage& image = canvas.image();
    EXPECT_TRUE(IsWhite(image, 0, 0));
    EXPECT_TRUE(IsWhite(image, 799, 499));
    EXPECT_TRUE(IsWhite(image, 400, 262));
    EXPECT_EQ(image.pixel(13, 262), qRgb(0, 0, 0));  // the circles in black, not the old red pen
    EXPECT_FALSE(canvas.brushClear());
    EXPECT_EQ(canvas.brushColor(), QColor(Qt::white));
    EXPECT_EQ(canvas.penColor(), QColor(Qt::black));
    EXPECT_EQ(canvas.penWidth(), 1);
}

TEST(LayoutPanels, FailsBeforeClearingWhenTheLimitGivesNoScale)
{
    struct Case {
        float sMax;
        const char* error;
    };
    for (const Case c : {Case{0.0f, error_text::kFloatDivisionByZero}, Case{-0.0f, error_text::kFloatDivisionByZero},
                         Case{1e20f, error_text::kFloatOverflow}}) {
        RunSettings settings = SettingsAt(1, c.sMax);
        Canvas canvas;
        canvas.setSize(settings.PictureWidth, settings.PictureHeight);
        DrawLastRun(canvas);
        PanelLayout layout;
        try {
            LayoutPanels(settings, layout, canvas);
            ADD_FAILURE() << "SMax " << c.sMax << " drew a picture";
        } catch (const RunTimeError& error) {
            EXPECT_STREQ(error.what(), c.error) << "SMax " << c.sMax;
        }
        EXPECT_EQ(InkCount(canvas.image(), canvas.image().rect()), 800 * 500) << "SMax " << c.sMax;
        EXPECT_TRUE(canvas.brushClear());
    }
}

}  // namespace
