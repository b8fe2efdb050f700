// Whole pictures, step after step as a run draws them, and runs after runs on
// the one picture that the program keeps.
#include "core/run_errors.hpp"
#include "picture_probe.hpp"
#include "render/draw_annotation.hpp"
#include "render/draw_axes.hpp"
#include "render/draw_spots.hpp"
#include "render/layout_panels.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

// The window's default cell (a 900, b 1100, c 1350 pm, β 110°) under Mo Kα1.
const LatticeParameters kDefaultCell{900, 1100, 1350, 90, 110, 90};
const ReciprocalParameters kDefaultReciprocal{0.08386f, 0.06448f, 0.05591f, 90, 70, 90};
const float kMinReciprocalLength = 0.05591f;

struct RunOptions {
    std::int32_t factor = 1;
    bool exercise = false;
    bool axesOn = true;
    std::int32_t layer = 0;
    float sMax = 0.4f;
    std::string freeText = "Beugung 1";
};

// A few reflections of the first panel on the a*, b* grid, away from the
// origin marker.
ReflectionList SomeReflections(const RunSettings& settings, const PanelLayout& layout)
{
    ReflectionList list;
    for (int h = -2; h <= 2; ++h)
        for (int k = 1; k <= 2; ++k) {
            const int i = list.ReflectionCount++;
            list.Amplitude[i] = 1.0f + static_cast<float>((h + 2) * 2 + k);
            list.PixelX[i] = static_cast<std::int32_t>(layout.Centre1X + h * kDefaultReciprocal.AStar * layout.Scale);
            list.PixelY[i] = settings.PictureHeight -
                             static_cast<std::int32_t>(layout.Centre1Y + k * kDefaultReciprocal.BStar * layout.Scale);
        }
    return list;
}

void Draw(const RunOptions& run, Canvas& canvas)
{
    RunSettings settings = SettingsAt(run.factor, run.sMax);
    settings.ExerciseMode = run.exercise;
    settings.AxesOn = run.axesOn;
    settings.LayerIndex = run.layer;
    settings.StructureNumber = 1;
    canvas.setSize(settings.PictureWidth, settings.PictureHeight);
    PanelLayout layout;
    LayoutPanels(settings, layout, canvas);
    float maxSpotRadius = 0;
    DrawSpots(settings, SomeReflections(settings, layout), kMinReciprocalLength, layout, maxSpotRadius, canvas);
    DrawAxes(settings, kDefaultReciprocal, layout, canvas);
    DrawAnnotation(settings, kDefaultReciprocal, kDefaultCell, layout, "monoklin        302 P121    ", run.freeText,
                   canvas);
}

QImage Fresh(const RunOptions& run)
{
    Canvas canvas;
    Draw(run, canvas);
    return canvas.image();
}

TEST(PictureRuns, EachRunDrawsTheSameWhateverTheRunBeforeLeft)
{
    RunOptions solution;
    RunOptions exerciseHigh;
    exerciseHigh.factor = 2;
    exerciseHigh.exercise = true;
    exerciseHigh.axesOn = false;
    exerciseHigh.freeText = "";
    RunOptions exerciseLayer1;
    exerciseLayer1.exercise = true;
    exerciseLayer1.layer = 1;

    Canvas canvas;
    for (const RunOptions& run : {solution, exerciseHigh, exerciseLayer1, solution}) {
        SCOPED_TRACE("RF " + std::to_string(run.factor) + (run.exercise ? " Aufgabe" : " Lösung") + " layer " +
                     std::to_string(run.layer));
        Draw(run, canvas);
        EXPECT_EQ(canvas.image(), Fresh(run));
    }
}

TEST(PictureRuns, ARunThatFailsInTheLayoutLeavesTheLastPictureAsItWas)
{
    Canvas canvas;
    Draw(RunOptions{}, canvas);
    const QImage before = canvas.image();

    RunOptions broken;
    broken.sMax = 0;
    EXPECT_THROW(Draw(broken, canvas), RunTimeError);
    EXPECT_EQ(canvas.image(), before);
    // The next good run still draws its full picture.
    Draw(RunOptions{}, canvas);
    EXPECT_EQ(canvas.image(), Fresh(RunOptions{}));
}

TEST(PictureRuns, SolutionPictureCarriesAllItsParts)
{
    Canvas canvas;
    Draw(RunOptions{}, canvas);
    const QImage& image = canvas.image();
    EXPECT_GT(InkCount(image, QRect(0, 0, 800, 125)), 500);             // the text block
    EXPECT_TRUE(IsInk(image, 13, 262));                                  // a limit circle
    EXPECT_TRUE(IsInk(image, 133 + 25, 262 - 19));                       // a spot (h 1, k 1)
    EXPECT_EQ(InkBounds(image, QRect(410, 258, 10, 9)).height(), 3);     // a basis vector
    EXPECT_GT(InkCount(image, QRect(90, 394, 90, 40)), 0);               // a plane label
    EXPECT_GT(InkCount(image, QRect(700, 480, 100, 20)), 0);             // the credit
}

}  // namespace
