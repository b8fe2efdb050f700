// Axes, index letters, plane labels, basis vectors and origin markers, read
// back from the pixels of a picture that LayoutPanels has prepared.
#include "render/draw_axes.hpp"

#include "core/run_errors.hpp"
#include "picture_probe.hpp"
#include "render/layout_panels.hpp"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

ReciprocalParameters Cell(float length, float alpha = 90, float beta = 90, float gamma = 90)
{
    return ReciprocalParameters{length, length, length, alpha, beta, gamma};
}

struct Options {
    std::int32_t factor = 1;
    bool exercise = true;
    bool axesOn = true;
    std::int32_t layer = 0;
    ReciprocalParameters reciprocal = Cell(0.1f);  // basis vectors of 30 pixels per RF
};

// A picture after LayoutPanels and DrawAxes with SMax 0.4 (Scale 300 × RF,
// limit radius 120 × RF).
struct AxesPicture {
    RunSettings settings;
    PanelLayout layout;
    Canvas canvas;

    explicit AxesPicture(const Options& options)
    {
        settings = SettingsAt(options.factor);
        settings.ExerciseMode = options.exercise;
        settings.AxesOn = options.axesOn;
        settings.LayerIndex = options.layer;
        canvas.setSize(settings.PictureWidth, settings.PictureHeight);
        LayoutPanels(settings, layout, canvas);
        DrawAxes(settings, options.reciprocal, layout, canvas);
    }
    const QImage& image() const { return canvas.image(); }
};

const std::array<QPoint, 3> kOrigins = {QPoint(133, 262), QPoint(400, 262), QPoint(667, 262)};

// What textOut of text in "Script" draws with its corner at (x, y) on a
// white picture of the given size.
QImage ScriptText(std::int32_t factor, const std::string& text, int x, int y)
{
    Canvas reference;
    reference.setSize(800 * factor, 500 * factor);
    reference.setBrushClear();
    reference.setFontName("Script");
    reference.setFontSize(22 * factor);
    reference.textOut(x, y, text);
    return reference.image();
}

int ScriptWidth(std::int32_t factor, const std::string& text)
{
    Canvas reference;
    reference.setFontName("Script");
    reference.setFontSize(22 * factor);
    return reference.textWidth(text);
}

int ScriptHeight(std::int32_t factor)
{
    Canvas reference;
    reference.setFontName("Script");
    reference.setFontSize(22 * factor);
    return reference.textHeight("h");
}

// Every ink pixel of the reference is ink in the picture too: the text stands
// exactly where the reference put it.
::testing::AssertionResult HasTextOf(const QImage& picture, const QImage& reference)
{
    int inked = 0;
    for (int y = 0; y < reference.height(); ++y)
        for (int x = 0; x < reference.width(); ++x)
            if (IsInk(reference, x, y)) {
                ++inked;
                if (!IsInk(picture, x, y))
                    return ::testing::AssertionFailure() << "missing ink at " << x << "," << y;
            }
    if (inked == 0)
        return ::testing::AssertionFailure() << "the reference text has no ink";
    return ::testing::AssertionSuccess();
}

TEST(DrawAxes, AxesRunFromTheOriginsToTheLimitCircles)
{
    const AxesPicture picture(Options{});
    const QImage& image = picture.image();
    for (const QPoint o : kOrigins) {
        SCOPED_TRACE("origin " + std::to_string(o.x()));
        for (int x = o.x(); x <= o.x() + 120; ++x)
            ASSERT_TRUE(IsInk(image, x, o.y())) << "first axis at column " << x;
        EXPECT_TRUE(IsWhite(image, o.x() - 20, o.y()));  // a ray, not a diameter
        // 90°: the oblique axis goes straight up to the top of the circle.
        for (int y = o.y() - 120; y <= o.y(); ++y)
            ASSERT_TRUE(IsInk(image, o.x(), y)) << "oblique axis at row " << y;
        EXPECT_TRUE(IsWhite(image, o.x(), o.y() - 121));
        EXPECT_TRUE(IsWhite(image, o.x() + 1, o.y() - 60));
        EXPECT_TRUE(IsWhite(image, o.x(), o.y() + 20));
    }
}

TEST(DrawAxes, LettersStandNearTheEndsOfTheAxes)
{
    const AxesPicture picture(Options{});
    const int raise = (ScriptHeight(1) * 3 + 2) / 4;  // round(0.75 × height); no tie for this font
    struct Letter {
        const char* text;
        int x, y;
    };
    const std::vector<Letter> letters = {
        // First axis: nine tenths of the way, three quarters of the letter above it.
        {"h", 241, 262 - raise},
        {"h", 508, 262 - raise},
        {"k", 775, 262 - raise},
        // Oblique axis at 90°: half the letter's width to the right of 0.95 of
        // the axis (row 500 − round(238.1 + 114)).
        {"k", 133 + ScriptWidth(1, "k") / 2, 148},
        {"l", 400 + ScriptWidth(1, "l") / 2, 148},
        {"l", 667 + ScriptWidth(1, "l") / 2, 148},
    };
    for (const Letter& l : letters)
        EXPECT_TRUE(HasTextOf(picture.image(), ScriptText(1, l.text, l.x, l.y))) << l.text << " at " << l.x;
}

TEST(DrawAxes, ObliqueAxisFollowsItsAngle)
{
    Options options;
    options.reciprocal = Cell(0.1f, 60, 60, 60);
    const AxesPicture picture(options);
    const QImage& image = picture.image();
    for (const QPoint o : kOrigins) {
        const int dx = o.x() - 133;
        SCOPED_TRACE("origin " + std::to_string(o.x()));
        EXPECT_TRUE(IsInk(image, 193 + dx, 158));  // the end, on the circle
        EXPECT_TRUE(IsInk(image, 163 + dx, 210));  // half way
        EXPECT_TRUE(IsWhite(image, 194 + dx, 156));
        EXPECT_TRUE(IsWhite(image, 133 + dx, 200));  // nothing left of it any more
    }
    // The point at 0.95 of the axis is (190, 163); the letter hangs to its right.
    EXPECT_TRUE(HasTextOf(image, ScriptText(1, "k", 190 + ScriptWidth(1, "k") / 2, 163)));
}

struct LabelCase {
    std::int32_t factor;
    std::int32_t layer;
    std::array<const char*, 3> labels;
    int top;
    std::array<int, 3> columns;  // of the origins
};

void PrintTo(const LabelCase& c, std::ostream* os)
{
    *os << "RF " << c.factor << ", layer " << c.layer;
}

class PlaneLabels : public ::testing::TestWithParam<LabelCase> {};

TEST_P(PlaneLabels, StandCentredUnderTheCircles)
{
    const LabelCase& c = GetParam();
    for (const bool axesOn : {true, false}) {
        SCOPED_TRACE(axesOn ? "axes on" : "axes off");
        Options options;
        options.factor = c.factor;
        options.layer = c.layer;
        options.axesOn = axesOn;
        const AxesPicture picture(options);
        const QImage& image = picture.image();
        const int below = 383 * c.factor;  // the rows under the circles
        for (int panel = 0; panel < 3; ++panel) {
            SCOPED_TRACE(c.labels[panel]);
            const int column = c.columns[panel];
            const QImage expected = ScriptText(c.factor, c.labels[panel],
                                               column - ScriptWidth(c.factor, c.labels[panel]) / 2, c.top);
            const QRect region(column - 130 * c.factor, below, 260 * c.factor, image.height() - below);
            EXPECT_EQ(FirstDifference(image, expected, region), QPoint(-1, -1));
            const QRect ink = InkBounds(image, region);
            ASSERT_FALSE(ink.isNull());
            EXPECT_GE(ink.top(), c.top);
            EXPECT_NEAR((ink.left() + ink.right()) / 2.0, column, 3.0 * c.factor);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    LayersAndResolutions, PlaneLabels,
    ::testing::Values(LabelCase{1, 0, {"{hk0}", "{h0l}", "{0kl}"}, 394, {133, 400, 667}},
                      LabelCase{1, 1, {"{hk1}", "{h1l}", "{1kl}"}, 394, {133, 400, 667}},
                      LabelCase{2, 0, {"{hk0}", "{h0l}", "{0kl}"}, 788, {267, 800, 1333}},
                      LabelCase{2, 1, {"{hk1}", "{h1l}", "{1kl}"}, 788, {267, 800, 1333}}));

TEST(DrawAxes, OriginMarkersOnlyOnTheZeroLayer)
{
    for (const std::int32_t layer : {0, 1}) {
        Options options;
        options.axesOn = false;
        options.layer = layer;
        const AxesPicture picture(options);
        for (const QPoint o : kOrigins) {
            const QRect ink = InkBounds(picture.image(), QRect(o.x() - 20, o.y() - 20, 41, 41));
            if (layer == 0) {
                EXPECT_EQ(ink, QRect(QPoint(o.x() - 5, o.y() - 5), QPoint(o.x() + 5, o.y() + 5))) << Describe(ink);
                EXPECT_TRUE(IsWhite(picture.image(), o.x(), o.y()));  // hollow
            } else {
                EXPECT_TRUE(ink.isNull()) << Describe(ink);
            }
        }
    }
}

TEST(DrawAxes, WithoutAxesOnlyLabelsAndMarkersAreDrawn)
{
    Options options;
    options.axesOn = false;
    const AxesPicture picture(options);
    RunSettings settings = SettingsAt(1);
    Canvas circlesOnly;
    circlesOnly.setSize(800, 500);
    PanelLayout layout;
    LayoutPanels(settings, layout, circlesOnly);

    // Everything DrawAxes added lies in a marker or under the circles.
    const QImage& image = picture.image();
    for (int y = 0; y < 383; ++y)
        for (int x = 0; x < 800; ++x)
            if (image.pixel(x, y) != circlesOnly.image().pixel(x, y)) {
                bool inMarker = false;
                for (const QPoint o : kOrigins)
                    inMarker = inMarker || (std::abs(x - o.x()) <= 5 && std::abs(y - o.y()) <= 5);
                ASSERT_TRUE(inMarker) << "drawn at " << x << "," << y;
            }
    for (const QPoint o : kOrigins) {
        EXPECT_TRUE(IsInk(image, o.x() + 5, o.y()));
        EXPECT_GT(InkCount(image, QRect(o.x() - 40, 394, 81, 40)), 0);
    }
    EXPECT_TRUE(picture.canvas.brushClear());
}

TEST(DrawAxes, TheBrushTurnsClearBeforeTheFirstLabelEvenWithoutAxes)
{
    // A black patch where the first label goes: a solid brush would paint the
    // label's cell white over it.
    RunSettings settings = SettingsAt(1);
    settings.AxesOn = false;
    Canvas canvas;
    canvas.setSize(settings.PictureWidth, settings.PictureHeight);
    PanelLayout layout;
    LayoutPanels(settings, layout, canvas);
    canvas.setBrushColor(Qt::black);
    canvas.fillRect(100, 390, 170, 440);
    canvas.setBrushColor(Qt::white);
    DrawAxes(settings, Cell(0.1f), layout, canvas);
    EXPECT_EQ(InkCount(canvas.image(), QRect(100, 390, 70, 50)), 70 * 50);
}

TEST(DrawAxes, BasisVectorsAreThreePixelsWideInTheSolutionOnly)
{
    for (const std::int32_t factor : {1, 2}) {
        for (const bool exercise : {true, false}) {
            SCOPED_TRACE("RF " + std::to_string(factor) + (exercise ? " Aufgabe" : " Lösung"));
            Options options;
            options.factor = factor;
            options.exercise = exercise;
            const AxesPicture picture(options);
            const QImage& image = picture.image();
            const int length = 30 * factor;
            const std::array<QPoint, 3> origins = factor == 1 ? kOrigins
                                                              : std::array<QPoint, 3>{QPoint(267, 524), QPoint(800, 524),
                                                                                      QPoint(1333, 524)};
            for (const QPoint o : origins) {
                // Along the first axis, clear of the marker.
                const QRect along(o.x() + 7, o.y() - 3, length - 8, 7);
                const QRect alongInk = InkBounds(image, along);
                // And up the oblique (90°) axis.
                const QRect up(o.x() - 3, o.y() - length + 1, 7, length - 8);
                const QRect upInk = InkBounds(image, up);
                if (exercise) {
                    EXPECT_EQ(alongInk.height(), 1) << Describe(alongInk);
                    EXPECT_EQ(upInk.width(), 1) << Describe(upInk);
                } else {
                    EXPECT_EQ(alongInk, QRect(o.x() + 7, o.y() - 1, length - 8, 3)) << Describe(alongInk);
                    EXPECT_EQ(upInk, QRect(o.x() - 1, o.y() - length + 1, 3, length - 8)) << Describe(upInk);
                    EXPECT_TRUE(IsInk(image, o.x() + length, o.y() + 1));  // to the vector's end
                    EXPECT_TRUE(IsWhite(image, o.x() + length + 3, o.y() + 1));
                }
                // The markers come after the vectors, with a 1-pixel pen again.
                EXPECT_TRUE(IsInk(image, o.x(), o.y() + 5));
                EXPECT_TRUE(IsWhite(image, o.x(), o.y() + 6));
                EXPECT_TRUE(IsWhite(image, o.x(), o.y() + 4));
            }
            EXPECT_EQ(picture.canvas.penWidth(), 1);
            EXPECT_EQ(picture.canvas.penColor(), QColor(Qt::black));
            EXPECT_TRUE(picture.canvas.brushClear());
            EXPECT_EQ(picture.canvas.fontName(), "Script");
            EXPECT_EQ(picture.canvas.fontSize(), 22 * factor);
        }
    }
}

TEST(DrawAxes, BasisVectorsLongerThanTheLimitReachBeyondTheCircle)
{
    Options options;
    options.exercise = false;
    options.reciprocal = Cell(0.6f);  // 180 pixels against a radius of 120
    const AxesPicture picture(options);
    const QImage& image = picture.image();
    for (int x = 260; x <= 313; ++x)  // past panel 1's circle and into panel 2's
        ASSERT_TRUE(IsInk(image, x, 263)) << x;
    EXPECT_TRUE(IsWhite(image, 316, 263));
    EXPECT_TRUE(IsInk(image, 133, 82));  // the oblique one, above the circle
}

TEST(DrawAxes, BasisVectorsBeyondTheIntegerRangeEndTheRun)
{
    struct Case {
        float length;
        const char* error;
    };
    // × Scale 300: beyond 2^31, and beyond 2^63.
    for (const Case c : {Case{1e8f, error_text::kRangeCheck}, Case{1e17f, error_text::kInvalidFloatOperation}}) {
        RunSettings settings = SettingsAt(1);
        settings.ExerciseMode = false;
        Canvas canvas;
        canvas.setSize(settings.PictureWidth, settings.PictureHeight);
        PanelLayout layout;
        LayoutPanels(settings, layout, canvas);
        try {
            DrawAxes(settings, Cell(c.length), layout, canvas);
            ADD_FAILURE() << c.length << " was drawn";
        } catch (const RunTimeError& error) {
            EXPECT_STREQ(error.what(), c.error) << c.length;
        }
        // What came before the faulting coordinate stays drawn.
        EXPECT_TRUE(IsInk(canvas.image(), 200, 262));
        EXPECT_GT(InkCount(canvas.image(), QRect(90, 394, 90, 40)), 0);
    }
}

}  // namespace
