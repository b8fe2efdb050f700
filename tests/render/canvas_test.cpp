// The drawing surface: where its operations put pixels, and that its state
// outlives operations, resizes and handing out the image.
#include "render/canvas.hpp"

#include "picture_probe.hpp"

#include <QFontMetrics>
#include <QtGlobal>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Canvas, StartsEmptyWithBlackPenAndWhiteSolidBrush)
{
    Canvas canvas;
    EXPECT_EQ(canvas.width(), 0);
    EXPECT_EQ(canvas.height(), 0);
    EXPECT_EQ(canvas.penColor(), QColor(Qt::black));
    EXPECT_EQ(canvas.penWidth(), 1);
    EXPECT_EQ(canvas.brushColor(), QColor(Qt::white));
    EXPECT_FALSE(canvas.brushClear());
    EXPECT_EQ(canvas.penPosition(), QPoint(0, 0));

    // Drawing on the empty picture is harmless and still moves the pen.
    canvas.ellipse(0, 0, 10, 10);
    canvas.lineTo(4, 5);
    EXPECT_EQ(canvas.penPosition(), QPoint(4, 5));
    canvas.textOut(1, 2, "Z");
    EXPECT_EQ(canvas.penPosition(), QPoint(1 + canvas.textWidth("Z"), 2));
}

TEST(Canvas, KeepsTheRequestedSizeEvenWithOneSideZero)
{
    Canvas canvas;
    canvas.setSize(800, 0);  // the width is set before the height
    EXPECT_EQ(canvas.width(), 800);
    EXPECT_EQ(canvas.height(), 0);
    canvas.setSize(800, 500);
    EXPECT_EQ(canvas.image().size(), QSize(800, 500));
    EXPECT_EQ(canvas.image().dotsPerMeterX(), 3780);  // 96 dpi
    EXPECT_EQ(canvas.image().dotsPerMeterY(), 3780);
}

TEST(Canvas, EllipseTouchesBothCornersOfItsBoxGivenInAnyOrder)
{
    struct Corners {
        int x1, y1, x2, y2;
    };
    for (const Corners c : {Corners{10, 20, 30, 50}, Corners{30, 50, 10, 20}, Corners{10, 50, 30, 20},
                            Corners{30, 20, 10, 50}}) {
        Canvas canvas;
        canvas.setSize(60, 70);
        canvas.setBrushColor(Qt::red);
        canvas.ellipse(c.x1, c.y1, c.x2, c.y2);
        const QImage& image = canvas.image();
        SCOPED_TRACE(std::to_string(c.x1) + "," + std::to_string(c.y1) + " " + std::to_string(c.x2) + "," +
                     std::to_string(c.y2));
        EXPECT_EQ(InkBounds(image, image.rect()), QRect(QPoint(10, 20), QPoint(30, 50)));
        // Outline in the pen colour at the four extremes, interior in the brush colour.
        for (const QPoint p : {QPoint(10, 35), QPoint(30, 35), QPoint(20, 20), QPoint(20, 50)})
            EXPECT_EQ(image.pixel(p), qRgb(0, 0, 0)) << p.x() << "," << p.y();
        EXPECT_EQ(image.pixel(20, 35), qRgb(255, 0, 0));
    }
}

TEST(Canvas, EllipseWithClearBrushIsHollowAndAZeroBoxDrawsNothing)
{
    Canvas canvas;
    canvas.setSize(40, 40);
    canvas.setBrushColor(Qt::black);
    canvas.fillRect(15, 15, 26, 26);
    canvas.setBrushClear();
    canvas.ellipse(5, 5, 35, 35);
    const QImage& image = canvas.image();
    EXPECT_TRUE(IsInk(image, 5, 20));
    EXPECT_TRUE(IsInk(image, 20, 20));  // what lay inside is still there
    EXPECT_TRUE(IsWhite(image, 10, 20));

    Canvas dot;
    dot.setSize(20, 20);
    dot.setBrushColor(Qt::black);
    dot.ellipse(10, 10, 10, 10);
    EXPECT_EQ(InkCount(dot.image(), dot.image().rect()), 0);
}

TEST(Canvas, FillRectLeavesOutRightAndBottomAndAClearBrushFillsNothing)
{
    Canvas canvas;
    canvas.setSize(20, 20);
    canvas.setBrushColor(Qt::black);
    canvas.fillRect(2, 3, 7, 9);
    EXPECT_EQ(InkBounds(canvas.image(), canvas.image().rect()), QRect(QPoint(2, 3), QPoint(6, 8)));

    canvas.setBrushClear();
    canvas.fillRect(10, 10, 15, 15);
    EXPECT_EQ(InkCount(canvas.image(), QRect(10, 10, 10, 10)), 0);

    // Setting a colour makes the clear brush solid again.
    canvas.setBrushColor(Qt::black);
    EXPECT_FALSE(canvas.brushClear());
    canvas.fillRect(10, 10, 15, 15);
    EXPECT_EQ(InkBounds(canvas.image(), QRect(10, 10, 10, 10)), QRect(QPoint(10, 10), QPoint(14, 14)));
}

TEST(Canvas, LineToDrawsFromThePenToTheEndInclusiveAndMovesThePen)
{
    struct Line {
        QPoint from, to;
        int width;
        QRect ink;
    };
    const std::vector<Line> lines = {
        {{5, 10}, {25, 10}, 1, QRect(QPoint(5, 10), QPoint(25, 10))},
        {{25, 10}, {5, 10}, 1, QRect(QPoint(5, 10), QPoint(25, 10))},
        {{12, 30}, {12, 4}, 1, QRect(QPoint(12, 4), QPoint(12, 30))},
        {{4, 4}, {20, 20}, 1, QRect(QPoint(4, 4), QPoint(20, 20))},
        // A 3-pixel pen: one pixel to either side, and a square cap at each end.
        {{5, 10}, {25, 10}, 3, QRect(QPoint(4, 9), QPoint(26, 11))},
        {{12, 30}, {12, 4}, 3, QRect(QPoint(11, 3), QPoint(13, 31))},
    };
    for (const Line& line : lines) {
        Canvas canvas;
        canvas.setSize(40, 40);
        canvas.setPenWidth(line.width);
        canvas.moveTo(line.from.x(), line.from.y());
        canvas.lineTo(line.to.x(), line.to.y());
        EXPECT_EQ(canvas.penPosition(), line.to);
        EXPECT_EQ(InkBounds(canvas.image(), canvas.image().rect()), line.ink)
            << "width " << line.width << " to " << line.to.x() << "," << line.to.y() << ": "
            << Describe(InkBounds(canvas.image(), canvas.image().rect()));
    }
}

TEST(Canvas, ConsecutiveLinesStartWhereThePenWasLeft)
{
    Canvas canvas;
    canvas.setSize(40, 40);
    canvas.moveTo(5, 5);
    canvas.lineTo(30, 5);
    canvas.lineTo(30, 30);
    const QImage& image = canvas.image();
    EXPECT_TRUE(IsInk(image, 30, 5));
    EXPECT_TRUE(IsInk(image, 30, 18));
    EXPECT_TRUE(IsWhite(image, 5, 18));
    EXPECT_EQ(InkBounds(image, image.rect()), QRect(QPoint(5, 5), QPoint(30, 30)));
}

TEST(Canvas, TextOutPutsTheCellAtItsTopLeftCornerAndLeavesThePenAtItsEnd)
{
    Canvas canvas;
    canvas.setSize(200, 100);
    canvas.setFontName("Arial");
    canvas.setFontSize(14);
    canvas.setBrushClear();
    const std::string text = "Zahl 17";
    const int width = canvas.textWidth(text), height = canvas.textHeight(text);
    canvas.textOut(30, 40, text);
    EXPECT_EQ(canvas.penPosition(), QPoint(30 + width, 40));

    const QImage& image = canvas.image();
    const QRect ink = InkBounds(image, image.rect());
    ASSERT_FALSE(ink.isNull());
    EXPECT_TRUE(QRect(30, 40, width, height).contains(ink)) << Describe(ink);
    // Capital letters start near the cell's left edge and reach near its top,
    // and the text's ink spans most of its advance.
    EXPECT_LE(ink.left(), 32);
    EXPECT_LE(ink.top(), 40 + height / 3);
    EXPECT_GE(ink.width(), width * 3 / 4);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_TRUE(IsInk(image, x, y) || IsWhite(image, x, y)) << "text is black, not antialiased";
}

TEST(Canvas, TextHasABackgroundOnlyWhenTheBrushIsSolid)
{
    for (const bool clear : {true, false}) {
        Canvas canvas;
        canvas.setSize(100, 60);
        canvas.setBrushColor(Qt::gray);
        canvas.fillRect(0, 0, 100, 60);
        canvas.setFontName("Arial");
        canvas.setFontSize(14);
        if (clear)
            canvas.setBrushClear();
        else
            canvas.setBrushColor(Qt::yellow);
        canvas.textOut(10, 10, "Zu");
        const QImage& image = canvas.image();
        const QRgb expected = clear ? QColor(Qt::gray).rgb() : QColor(Qt::yellow).rgb();
        EXPECT_EQ(image.pixel(11, 11), expected) << "clear " << clear;  // inside the cell, off the glyphs
        EXPECT_EQ(image.pixel(5, 5), QColor(Qt::gray).rgb());          // outside the cell
    }
}

TEST(Canvas, FontPointsBecomePixelsAt96Dpi)
{
    Canvas canvas;
    canvas.setFontName("Arial");
    canvas.setFontSize(72);  // one inch: 96 pixels of em height
    // The cell is ascent plus descent, a little over 1.1 em in Arial's metrics;
    // 72 pixels of em height would give about 80.
    const int tall = canvas.textHeight("Z");
    EXPECT_GE(tall, 104);
    EXPECT_LE(tall, 112);
    canvas.setFontSize(14);
    const int smallHeight = canvas.textHeight("Z"), smallWidth = canvas.textWidth("ZZZZZZZZZZ");
    canvas.setFontSize(28);
    EXPECT_NEAR(canvas.textHeight("Z"), 2 * smallHeight, 1);
    EXPECT_NEAR(canvas.textWidth("ZZZZZZZZZZ"), 2 * smallWidth, 10);
}

TEST(Canvas, FontNamesReachTheirSubstitutes)
{
    // "Arial" and "Script" are different faces: a slanted hand for the letters.
    std::vector<QImage> pictures;
    for (const char* name : {"Arial", "Script"}) {
        Canvas canvas;
        canvas.setSize(120, 60);
        canvas.setFontName(name);
        canvas.setFontSize(22);
        canvas.textOut(5, 5, "ahk");
        pictures.push_back(canvas.image());
        EXPECT_GT(InkCount(canvas.image(), canvas.image().rect()), 20) << name;
    }
    EXPECT_NE(pictures[0], pictures[1]);
}

// The runs of ink along the middle row of what textOut drew.
int InkRunsThroughTheMiddle(const QImage& image)
{
    const QRect ink = InkBounds(image, image.rect());
    int runs = 0;
    for (int x = ink.left(); x <= ink.right(); ++x)
        runs += IsInk(image, x, ink.center().y()) && !IsInk(image, x - 1, ink.center().y());
    return runs;
}

TEST(Canvas, CopyrightSignIsTheSameCharacterInEveryFace)
{
    // A face in the Symbol encoding (Standard Symbols PS) has a heart at
    // U+00A9's code. A copyright sign is a ring round a "C": three runs of ink
    // across its middle, white in its centre.
    for (const char* face : {"Standard Symbols PS", "Symbol", "Arial"}) {
        Canvas canvas;
        canvas.setSize(80, 80);
        canvas.setFontName(face);
        canvas.setFontSize(36);
        canvas.textOut(5, 5, "©");
        const QImage& image = canvas.image();
        EXPECT_EQ(InkRunsThroughTheMiddle(image), 3) << face;
        EXPECT_TRUE(IsWhite(image, InkBounds(image, image.rect()).center().x(),
                            InkBounds(image, image.rect()).center().y()))
            << face;
        EXPECT_EQ(canvas.penPosition().x(), 5 + canvas.textWidth("©")) << face;
    }
}

TEST(Canvas, StateSurvivesResizingAndEveryOperation)
{
    Canvas canvas;
    canvas.setSize(800, 500);
    canvas.setPenColor(Qt::red);
    canvas.setPenWidth(3);
    canvas.setBrushColor(Qt::blue);
    canvas.setBrushClear();
    canvas.setFontName("Script");
    canvas.setFontSize(44);
    canvas.moveTo(17, 23);
    canvas.textWidth("k");
    canvas.textHeight("k");

    canvas.setSize(1600, 1000);
    EXPECT_EQ(canvas.penColor(), QColor(Qt::red));
    EXPECT_EQ(canvas.penWidth(), 3);
    EXPECT_EQ(canvas.brushColor(), QColor(Qt::blue));
    EXPECT_TRUE(canvas.brushClear());
    EXPECT_EQ(canvas.fontName(), "Script");
    EXPECT_EQ(canvas.fontSize(), 44);
    EXPECT_EQ(canvas.penPosition(), QPoint(17, 23));

    // And the state is the one drawn with on the new picture.
    canvas.lineTo(100, 23);
    const QImage& image = canvas.image();
    EXPECT_EQ(image.pixel(50, 22), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(50, 24), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(50, 26), qRgb(255, 255, 255));
}

TEST(Canvas, ImageIsCurrentAfterEveryDrawingAndResizeNeedsNoCare)
{
    std::vector<QString> warnings;
    static std::vector<QString>* sink = nullptr;
    sink = &warnings;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { sink->push_back(text); });

    Canvas canvas;
    canvas.setSize(50, 50);
    canvas.setBrushColor(Qt::black);
    canvas.fillRect(0, 0, 10, 10);
    const QImage first = canvas.image();  // a copy, taken mid-picture
    EXPECT_TRUE(IsInk(first, 5, 5));

    canvas.fillRect(20, 20, 30, 30);
    EXPECT_TRUE(IsInk(canvas.image(), 25, 25));
    EXPECT_TRUE(IsInk(canvas.image(), 5, 5));
    EXPECT_FALSE(IsInk(first, 25, 25));  // the copy keeps what it showed

    // Resizing in the middle of drawing, to another size and back.
    canvas.fillRect(40, 40, 45, 45);
    canvas.setSize(80, 60);
    canvas.fillRect(70, 50, 75, 55);
    canvas.setSize(50, 50);
    canvas.setSize(50, 50);
    canvas.fillRect(1, 1, 3, 3);
    EXPECT_EQ(canvas.image().size(), QSize(50, 50));
    EXPECT_EQ(InkBounds(canvas.image(), canvas.image().rect()), QRect(1, 1, 2, 2));

    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.empty()) << warnings.front().toStdString();
}

}  // namespace
