#pragma once
// The picture's drawing surface: a QImage with the small, stateful set of
// operations the drawing steps are written against.
//
// Pen (colour, width), brush (colour; solid or clear), font (name, size in
// points) and the pen position live in the Canvas, not in a painter, so they
// survive every operation and every resize: each run starts with whatever the
// previous run left behind, and the steps rely on that.
//
// Pixel conventions, all in picture pixels with row 0 at the top:
// - ellipse: the box's corners are inclusive. The outline of a width-1 pen
//   touches column min(x1, x2) and max(x1, x2), row min(y1, y2) and
//   max(y1, y2), so a circle with corners (cx − r, cy − r), (cx + r, cy + r)
//   is symmetric about pixel (cx, cy). A box of zero width or height draws
//   nothing.
// - fillRect: right and bottom are exclusive, so (0, 0, width, height) is the
//   whole picture. A clear brush fills nothing.
// - lineTo: both end points are drawn. A wider pen covers a square of its
//   width about each end point (square caps).
// - textOut: the text cell's top-left corner is (x, y); the cell is
//   textWidth × textHeight pixels and the pen ends at (x + textWidth, y).
//   Text is black. With a solid brush the cell is first filled with the brush
//   colour, with a clear brush the text has no background.
// Nothing is antialiased, text included: the picture is pure pen, brush and
// glyph pixels, exactly where the coordinates put them.
//
// Text is UTF-8 in std::string, as everywhere outside the window, and means
// the same characters in every face: "©" in "Symbol" is the copyright sign
// there too. Font names are resolved through QFont, so the substitutes of
// render/fonts.hpp apply.
// A font of N points is realised at round(N × 96 / 72) pixels, the whole-pixel
// size a 96-dpi surface gives it; the image itself is marked 96 dpi.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>

#include <string>

class Canvas {
public:
    // An empty (0 × 0) picture; pen black width 1, brush white solid, font
    // "MS Sans Serif" 8 points, pen at (0, 0).
    Canvas();
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Resizes the picture. Drawing state is kept; the pixels are not (a new
    // size starts white, an unchanged size keeps the picture as it is).
    // Negative sizes count as 0.
    void setSize(int width, int height);
    int width() const;
    int height() const;

    // The finished pixels of everything drawn so far.
    const QImage& image() const;

    void setPenColor(const QColor& color);
    QColor penColor() const;
    void setPenWidth(int width);
    int penWidth() const;

    // Setting the brush colour also makes a clear brush solid.
    void setBrushColor(const QColor& color);
    QColor brushColor() const;
    void setBrushClear();
    bool brushClear() const;

    void setFontName(const std::string& name);
    const std::string& fontName() const;
    void setFontSize(int points);
    int fontSize() const;

    void fillRect(int x1, int y1, int x2, int y2);
    // Outline with the pen, interior with the brush (hollow when clear).
    void ellipse(int x1, int y1, int x2, int y2);
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    QPoint penPosition() const;
    void textOut(int x, int y, const std::string& text);
    int textWidth(const std::string& text) const;
    int textHeight(const std::string& text) const;

private:
    QFont currentFont() const;
    // The painter on the image with the current pen and brush, or nullptr for
    // an empty picture.
    QPainter* paint();
    void finishPainting() const;

    int width_ = 0, height_ = 0;
    QImage image_;
    // Kept open between operations (a painter per spot would dominate a run);
    // closed before the image is resized or handed out.
    mutable QPainter painter_;

    QColor penColor_{Qt::black};
    int penWidth_ = 1;
    QColor brushColor_{Qt::white};
    bool brushClear_ = false;
    std::string fontName_ = "MS Sans Serif";
    int fontSize_ = 8;
    QPoint penPosition_{0, 0};
};
