// The text block above the patterns and the credit line: the texts on their
// own, then where DrawAnnotation puts them.
#include "render/draw_annotation.hpp"

#include "picture_probe.hpp"
#include "render/layout_panels.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const LatticeParameters kCubeCell{900, 900, 900, 90, 90, 90};
const LatticeParameters kDefaultCell{900, 1100, 1350, 90, 110, 90};
const ReciprocalParameters kDefaultReciprocal{0.08386f, 0.06448f, 0.05591f, 90, 70, 90};
const std::string kFirstItem = "monoklin        302 P121    ";

TEST(AnnotationText, DirectCell)
{
    struct Case {
        LatticeParameters cell;
        const char* line;
    };
    const std::vector<Case> cases = {
        {kCubeCell, "a = 900.0pm, b = 900.0pm, c = 900.0pm  Alpha = 90.0°, Beta = 90.0°, Gamma = 90.0°"},
        {kDefaultCell, "a = 900.0pm, b =1100.0pm, c =1350.0pm  Alpha = 90.0°, Beta =110.0°, Gamma = 90.0°"},
        // Fields widen rather than cut; small values pad; rounding to one decimal.
        {{12345.67f, 5.04f, -3.5f, 120, 7.96f, 100.06f},
         "a =12345.7pm, b =   5.0pm, c =  -3.5pm  Alpha =120.0°, Beta =  8.0°, Gamma =100.1°"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DirectCellLine(c.cell), c.line);
}

TEST(AnnotationText, ReciprocalCell)
{
    struct Case {
        ReciprocalParameters cell;
        const char* line;
    };
    const std::vector<Case> cases = {
        {kDefaultReciprocal, "a*=0.08386, b* =0.06448, c*=0.05591    Alpha*= 90.0°, Beta*= 70.0°, Gamma*= 90.0°"},
        {{12.5f, 0.000004f, 1.0f, 120, 5.04f, 100.06f},
         "a*=12.50000, b* =0.00000, c*=1.00000    Alpha*=120.0°, Beta*=  5.0°, Gamma*=100.1°"},
        {{0.123456f, 0.000016f, 0.999996f, 60, 60, 60},
         "a*=0.12346, b* =0.00002, c*=1.00000    Alpha*= 60.0°, Beta*= 60.0°, Gamma*= 60.0°"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReciprocalCellLine(c.cell), c.line);
}

TEST(AnnotationText, SystemAndSpaceGroupFromTheItemsColumns)
{
    struct Case {
        std::string item;
        std::int32_t structure;
        const char* system;
        const char* group;
    };
    const std::vector<Case> cases = {
        {kFirstItem, 1, "monoklin         Struktur Nr. 1", "Raumgruppe   302 P121    "},
        {"orthorhombisch   62 PNMA    ", -7, "orthorhombisch   Struktur Nr. -7", "Raumgruppe    62 PNMA    "},
        {"kubisch       22702 FD-3MZ  ", 1000, "kubisch          Struktur Nr. 1000", "Raumgruppe 22702 FD-3MZ  "},
        // Shorter and longer items: as many characters as there are, and no
        // more than sixteen for the group.
        {"trigonal", 3, "trigonal   Struktur Nr. 3", "Raumgruppe "},
        {"hexagonal       191 P6/MMM  xyzuvw", 2, "hexagonal        Struktur Nr. 2", "Raumgruppe   191 P6/MMM  xy"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SystemLine(c.item, c.structure), c.system) << c.item;
        EXPECT_EQ(SpaceGroupLine(c.item), c.group) << c.item;
    }
}

// A picture as DrawAxes leaves it: circles drawn, brush clear.
struct AnnotatedPicture {
    RunSettings settings;
    PanelLayout layout;
    Canvas canvas;

    AnnotatedPicture(std::int32_t factor, bool exercise, const std::string& freeText)
    {
        settings = SettingsAt(factor);
        settings.ExerciseMode = exercise;
        settings.StructureNumber = 1;
        canvas.setSize(settings.PictureWidth, settings.PictureHeight);
        LayoutPanels(settings, layout, canvas);
        canvas.setBrushClear();
        canvas.setFontName("Script");
        DrawAnnotation(settings, kDefaultReciprocal, kCubeCell, layout, kFirstItem, freeText, canvas);
    }
    const QImage& image() const { return canvas.image(); }
};

struct Line {
    std::string text;
    int fromTop;  // lines above the first one
};

// The given lines in Arial 14 × RF points at column 20 × RF, the first one's
// cell top at row firstTop and each further one a cell height higher.
QImage BlockOf(std::int32_t factor, int firstTop, const std::vector<Line>& lines)
{
    Canvas reference;
    reference.setSize(800 * factor, 500 * factor);
    reference.setBrushClear();
    reference.setFontName("Arial");
    reference.setFontSize(14 * factor);
    const int lineHeight = reference.textHeight("Z");
    for (const Line& line : lines)
        reference.textOut(20 * factor, firstTop - line.fromTop * lineHeight, line.text);
    return reference.image();
}

TEST(DrawAnnotation, SolutionBlockHoldsFiveLinesGrowingUpward)
{
    const std::string freeText = "Übung 3: Beugung am Einkristall";
    for (const std::int32_t factor : {1, 2}) {
        SCOPED_TRACE("RF " + std::to_string(factor));
        const AnnotatedPicture picture(factor, false, freeText);
        const int firstTop = 102 * factor;  // Offset 398 × RF
        const QImage expected =
            BlockOf(factor, firstTop,
                    {{"a*=0.08386, b* =0.06448, c*=0.05591    Alpha*= 90.0°, Beta*= 70.0°, Gamma*= 90.0°", 0},
                     {"a = 900.0pm, b = 900.0pm, c = 900.0pm  Alpha = 90.0°, Beta = 90.0°, Gamma = 90.0°", 1},
                     {"monoklin         Struktur Nr. 1", 2},
                     {"Raumgruppe   302 P121    ", 3},
                     {freeText, 4}});
        // Everything above the circles is the block, exactly.
        EXPECT_EQ(FirstDifference(picture.image(), expected, QRect(0, 0, 800 * factor, 142 * factor)),
                  QPoint(-1, -1));
        const QRect firstLine = InkBounds(picture.image(), QRect(0, firstTop, 800 * factor, 142 * factor - firstTop));
        EXPECT_GE(firstLine.top(), firstTop);
        EXPECT_LT(firstLine.top(), firstTop + 8 * factor);
    }
}

TEST(DrawAnnotation, ExerciseBlockHoldsOnlyTheFreeTextOneLineUp)
{
    for (const std::int32_t factor : {1, 2}) {
        SCOPED_TRACE("RF " + std::to_string(factor));
        const AnnotatedPicture picture(factor, true, "Welches Gitter?");
        const QImage expected = BlockOf(factor, 102 * factor, {{"Welches Gitter?", 1}});
        EXPECT_EQ(FirstDifference(picture.image(), expected, QRect(0, 0, 800 * factor, 142 * factor)),
                  QPoint(-1, -1));
        EXPECT_GT(InkCount(picture.image(), QRect(0, 0, 800 * factor, 142 * factor)), 0);

        const AnnotatedPicture empty(factor, true, "");
        EXPECT_EQ(InkCount(empty.image(), QRect(0, 0, 800 * factor, 142 * factor)), 0);
    }
}

TEST(DrawAnnotation, CreditSitsFlushInTheBottomRightCorner)
{
    for (const std::int32_t factor : {1, 2}) {
        SCOPED_TRACE("RF " + std::to_string(factor));
        const AnnotatedPicture picture(factor, true, "");
        const int width = 800 * factor, height = 500 * factor;

        Canvas metrics;
        metrics.setFontName("Symbol");
        metrics.setFontSize(9 * factor);
        const int signWidth = metrics.textWidth(kCreditSign);
        const int symbolHeight = metrics.textHeight(kCreditText);
        metrics.setFontName("Arial");
        const int textWidth = metrics.textWidth(kCreditText);
        const int blankWidth = metrics.textWidth(" ");

        // The sign in Symbol, the text after it in Arial, the whole line ending
        // at the right edge and the Symbol cell resting on the bottom edge.
        Canvas reference;
        reference.setSize(width, height);
        reference.setBrushClear();
        reference.setFontName("Symbol");
        reference.setFontSize(9 * factor);
        reference.textOut(width - signWidth - textWidth, height - symbolHeight, kCreditSign);
        reference.setFontName("Arial");
        reference.textOut(width - textWidth, height - symbolHeight, kCreditText);
        const QRect corner(width - 200 * factor, height - 40 * factor, 200 * factor, 40 * factor);
        EXPECT_EQ(FirstDifference(picture.image(), reference.image(), corner), QPoint(-1, -1));

        const QRect ink = InkBounds(picture.image(), corner);
        ASSERT_FALSE(ink.isNull());
        EXPECT_GE(ink.left(), width - signWidth - textWidth);
        EXPECT_LE(ink.left(), width - signWidth - textWidth + 2 * factor);
        // Only the closing blank (and the last letter's side bearing) to its right.
        EXPECT_LE(ink.right(), width - 1 - blankWidth);
        EXPECT_GE(ink.right(), width - 1 - blankWidth - 3 * factor);
        EXPECT_GE(ink.bottom(), height - 6 * factor);

        EXPECT_EQ(picture.canvas.penPosition(), QPoint(width, height - symbolHeight));
        EXPECT_EQ(picture.canvas.fontName(), "Arial");
        EXPECT_EQ(picture.canvas.fontSize(), 9 * factor);
        EXPECT_TRUE(picture.canvas.brushClear());
        EXPECT_EQ(picture.canvas.penColor(), QColor(Qt::black));
        EXPECT_EQ(picture.canvas.penWidth(), 1);
    }
}

}  // namespace
