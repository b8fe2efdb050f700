// The reflection spots: discs sized by amplitude, the strongest one getting
// MaxSpotRadius, capped at 9 pixels per resolution step.
#include "render/draw_spots.hpp"

#include "core/run_errors.hpp"
#include "picture_probe.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Spot {
    float amplitude;
    int x, y;
};

ReflectionList ListOf(const std::vector<Spot>& spots)
{
    ReflectionList list;
    for (const Spot& s : spots) {
        list.Amplitude[list.ReflectionCount] = s.amplitude;
        list.PixelX[list.ReflectionCount] = s.x;
        list.PixelY[list.ReflectionCount] = s.y;
        ++list.ReflectionCount;
    }
    return list;
}

PanelLayout LayoutWithScale(float scale)
{
    PanelLayout layout;
    layout.Scale = scale;
    return layout;
}

// The radius of the disc drawn about (x, y), read off its ink: half the
// width of the ink run through its centre row.
int RadiusAt(const QImage& image, int x, int y)
{
    const QRect ink = InkBounds(image, QRect(x - 30, y, 61, 1));
    EXPECT_FALSE(ink.isNull()) << "no spot at " << x << "," << y;
    EXPECT_EQ(ink.left() + ink.right(), 2 * x) << "spot not centred on " << x << "," << y;
    return ink.width() / 2;
}

struct SpotDrawing {
    Canvas canvas;
    float maxSpotRadius = -1;

    void draw(std::int32_t factor, const ReflectionList& list, float minLength, float scale)
    {
        const RunSettings settings = SettingsAt(factor);
        canvas.setSize(settings.PictureWidth, settings.PictureHeight);
        DrawSpots(settings, list, minLength, LayoutWithScale(scale), maxSpotRadius, canvas);
    }
};

TEST(DrawSpots, StrongestSpotHasTheRoundedMaxSpotRadius)
{
    struct Case {
        std::int32_t factor;
        float minLength, scale;
        float maxSpotRadius;  // 0.4 × minLength × Scale, capped at 9 × RF
        int radius;
    };
    const std::vector<Case> cases = {
        {1, 0.05f, 300, 6.0f, 6},         // below the cap
        {1, 0.0559f, 300, 6.708f, 7},     // the default cell's c*: rounds up
        {1, 0.1f, 300, 9.0f, 9},          // 12 capped to 9
        {1, 0.075f, 300, 9.0f, 9},        // exactly at the cap
        {2, 0.0559f, 600, 13.416f, 13},   // twice the scale, still below 18
        {2, 0.1f, 600, 18.0f, 18},        // capped at 18
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("RF " + std::to_string(c.factor) + ", min length " + std::to_string(c.minLength));
        SpotDrawing drawing;
        drawing.draw(c.factor, ListOf({{3.5f, 100, 120}, {70.0f, 300, 200}, {0.5f, 500, 120}}), c.minLength,
                     c.scale);
        EXPECT_NEAR(drawing.maxSpotRadius, c.maxSpotRadius, 1e-3);
        EXPECT_EQ(RadiusAt(drawing.canvas.image(), 300, 200), c.radius);
        // A whole disc, not a ring: its centre and its rim are ink.
        EXPECT_TRUE(IsInk(drawing.canvas.image(), 300, 200));
        EXPECT_TRUE(IsInk(drawing.canvas.image(), 300, 200 - c.radius));
        EXPECT_TRUE(IsWhite(drawing.canvas.image(), 300, 200 - c.radius - 1));
    }
}

TEST(DrawSpots, RadiiAreProportionalToAmplitudeRoundedHalvesToEven)
{
    // MaxSpotRadius 9 and M 18 make the factor exactly 0.5.
    SpotDrawing drawing;
    drawing.draw(1,
                 ListOf({{18.0f, 50, 50}, {9.0f, 100, 50}, {11.0f, 150, 50}, {13.0f, 200, 50}, {4.0f, 250, 50},
                         {6.6f, 300, 50}}),
                 0.1f, 300);
    const QImage& image = drawing.canvas.image();
    EXPECT_EQ(RadiusAt(image, 50, 50), 9);
    EXPECT_EQ(RadiusAt(image, 100, 50), 4);  // 4.5
    EXPECT_EQ(RadiusAt(image, 150, 50), 6);  // 5.5
    EXPECT_EQ(RadiusAt(image, 200, 50), 6);  // 6.5
    EXPECT_EQ(RadiusAt(image, 250, 50), 2);
    EXPECT_EQ(RadiusAt(image, 300, 50), 3);  // 3.3
}

TEST(DrawSpots, EqualAmplitudesGiveEqualSpots)
{
    SpotDrawing drawing;
    const std::vector<Spot> spots = {{2.25f, 60, 60}, {2.25f, 200, 300}, {2.25f, 400, 120}, {2.25f, 700, 420}};
    drawing.draw(1, ListOf(spots), 0.0559f, 300);
    for (const Spot& s : spots)
        EXPECT_EQ(RadiusAt(drawing.canvas.image(), s.x, s.y), 7) << s.x << "," << s.y;
}

TEST(DrawSpots, TinyAmplitudesDrawNothingAndLeaveTheBrushSolidBlack)
{
    SpotDrawing drawing;
    drawing.canvas.setBrushClear();
    drawing.draw(1, ListOf({{1000.0f, 100, 100}, {0.01f, 300, 300}}), 0.1f, 300);
    EXPECT_EQ(InkCount(drawing.canvas.image(), QRect(280, 280, 40, 40)), 0);
    EXPECT_FALSE(drawing.canvas.brushClear());
    EXPECT_EQ(drawing.canvas.brushColor(), QColor(Qt::black));
    EXPECT_EQ(drawing.canvas.penColor(), QColor(Qt::black));
    EXPECT_EQ(drawing.canvas.penWidth(), 1);
}

TEST(DrawSpots, NoAmplitudeToScaleIsADivisionByZeroBeforeAnySpot)
{
    for (const ReflectionList& list : {ListOf({}), ListOf({{0.0f, 100, 100}, {0.0f, 200, 200}})}) {
        SpotDrawing drawing;
        try {
            drawing.draw(1, list, 0.05f, 300);
            ADD_FAILURE() << "drew " << list.ReflectionCount << " spots";
        } catch (const RunTimeError& error) {
            EXPECT_STREQ(error.what(), error_text::kFloatDivisionByZero);
        }
        EXPECT_FLOAT_EQ(drawing.maxSpotRadius, 6.0f);  // set before the division
        EXPECT_EQ(InkCount(drawing.canvas.image(), drawing.canvas.image().rect()), 0);
    }
}

TEST(DrawSpots, ACountBeyondTheListIsARangeError)
{
    ReflectionList list = ListOf({{1.0f, 10, 10}});
    list.ReflectionCount = kReflectionSlots + 1;
    SpotDrawing drawing;
    try {
        drawing.draw(1, list, 0.05f, 300);
        ADD_FAILURE() << "read past the list";
    } catch (const RunTimeError& error) {
        EXPECT_STREQ(error.what(), error_text::kRangeCheck);
    }
}

}  // namespace
