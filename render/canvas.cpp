#include "render/canvas.hpp"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPen>
#include <QRect>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// 96 dots per inch, the resolution the picture's point sizes are meant for.
constexpr int kDotsPerMeter = 3780;

QImage MakePicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    image.fill(Qt::white);
    return image;
}

// Font metrics must not depend on whether the picture is empty yet, so they
// are always taken on the same 96-dpi device.
const QImage& MetricsDevice()
{
    static const QImage device = MakePicture(1, 1);
    return device;
}

// points × 96 / 72, halves away from zero, at least one pixel.
int PixelSizeForPoints(int points)
{
    const std::int64_t scaled = static_cast<std::int64_t>(std::max(points, 0)) * 96;
    const std::int64_t pixels = (scaled + 36) / 72;
    return static_cast<int>(std::clamp<std::int64_t>(pixels, 1, std::numeric_limits<int>::max()));
}

int ClampToInt(std::int64_t value)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

QRect NormalizedBox(int x1, int y1, int x2, int y2)
{
    const int left = std::min(x1, x2), top = std::min(y1, y2);
    const std::int64_t w = static_cast<std::int64_t>(std::max(x1, x2)) - left;
    const std::int64_t h = static_cast<std::int64_t>(std::max(y1, y2)) - top;
    return QRect(left, top, ClampToInt(w), ClampToInt(h));
}

// Qt reads the codes below 256 of a text in a symbol-encoded face (Symbol
// itself, or its URW clone Standard Symbols PS) as positions in the face's own
// encoding, where U+00A9 would be a heart. Text on the canvas is Unicode, so the characters the
// picture writes in such a face move to their places in the Symbol encoding
// first. A face with Unicode encoding takes the text as it is.
QString TextForFace(const std::string& text, const QFont& font)
{
    QString string = QString::fromStdString(text);
    if (!QFontDatabase::writingSystems(QFontInfo(font).family()).contains(QFontDatabase::Symbol))
        return string;
    string.replace(QChar(0x00A9), QChar(0x00E3));  // ©, sans-serif form
    return string;
}

}  // namespace

Canvas::Canvas() = default;

Canvas::~Canvas()
{
    finishPainting();
}

void Canvas::setSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    finishPainting();
    width_ = width;
    height_ = height;
    // QImage has no picture with one side 0; such a size (as between setting
    // the width and the height) is an empty image that draws nothing.
    image_ = (width > 0 && height > 0) ? MakePicture(width, height) : QImage();
}

int Canvas::width() const
{
    return width_;
}

int Canvas::height() const
{
    return height_;
}

const QImage& Canvas::image() const
{
    finishPainting();
    return image_;
}

void Canvas::setPenColor(const QColor& color)
{
    penColor_ = color;
}

QColor Canvas::penColor() const
{
    return penColor_;
}

void Canvas::setPenWidth(int width)
{
    penWidth_ = std::max(width, 0);
}

int Canvas::penWidth() const
{
    return penWidth_;
}

void Canvas::setBrushColor(const QColor& color)
{
    brushColor_ = color;
    brushClear_ = false;
}

QColor Canvas::brushColor() const
{
    return brushColor_;
}

void Canvas::setBrushClear()
{
    brushClear_ = true;
}

bool Canvas::brushClear() const
{
    return brushClear_;
}

void Canvas::setFontName(const std::string& name)
{
    fontName_ = name;
}

const std::string& Canvas::fontName() const
{
    return fontName_;
}

void Canvas::setFontSize(int points)
{
    fontSize_ = points;
}

int Canvas::fontSize() const
{
    return fontSize_;
}

void Canvas::fillRect(int x1, int y1, int x2, int y2)
{
    if (brushClear_ || x2 <= x1 || y2 <= y1)
        return;
    if (QPainter* painter = paint())
        painter->fillRect(QRect(x1, y1, ClampToInt(std::int64_t{x2} - x1), ClampToInt(std::int64_t{y2} - y1)),
                          brushColor_);
}

void Canvas::ellipse(int x1, int y1, int x2, int y2)
{
    const QRect box = NormalizedBox(x1, y1, x2, y2);
    if (box.width() == 0 || box.height() == 0)
        return;
    if (QPainter* painter = paint())
        painter->drawEllipse(box);
}

void Canvas::moveTo(int x, int y)
{
    penPosition_ = QPoint(x, y);
}

void Canvas::lineTo(int x, int y)
{
    const QPoint end(x, y);
    if (QPainter* painter = paint())
        painter->drawLine(penPosition_, end);
    penPosition_ = end;
}

QPoint Canvas::penPosition() const
{
    return penPosition_;
}

void Canvas::textOut(int x, int y, const std::string& text)
{
    const QFont font = currentFont();
    const QString string = TextForFace(text, font);
    const QFontMetrics metrics(font, &MetricsDevice());
    const int advance = metrics.horizontalAdvance(string);
    if (QPainter* painter = paint()) {
        if (!brushClear_)
            painter->fillRect(QRect(x, y, advance, metrics.height()), brushColor_);
        painter->setFont(font);
        painter->setPen(QPen(Qt::black));
        painter->drawText(QPoint(x, y + metrics.ascent()), string);
    }
    penPosition_ = QPoint(ClampToInt(std::int64_t{x} + advance), y);
}

int Canvas::textWidth(const std::string& text) const
{
    const QFont font = currentFont();
    return QFontMetrics(font, &MetricsDevice()).horizontalAdvance(TextForFace(text, font));
}

int Canvas::textHeight(const std::string& text) const
{
    // The height of the text cell, ascent plus descent: it depends on the font
    // alone, so "Z" measures the line height of any text.
    (void)text;
    return QFontMetrics(currentFont(), &MetricsDevice()).height();
}

QFont Canvas::currentFont() const
{
    QFont font(QString::fromStdString(fontName_));
    font.setPixelSize(PixelSizeForPoints(fontSize_));
    font.setStyleStrategy(QFont::NoAntialias);
    font.setKerning(false);
    return font;
}

QPainter* Canvas::paint()
{
    if (image_.isNull())
        return nullptr;
    if (!painter_.isActive()) {
        if (!painter_.begin(&image_))
            return nullptr;
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setRenderHint(QPainter::TextAntialiasing, false);
    }
    QPen pen(penColor_, penWidth_);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
    painter_.setBrush(brushClear_ ? QBrush(Qt::NoBrush) : QBrush(brushColor_));
    return &painter_;
}

void Canvas::finishPainting() const
{
    if (painter_.isActive())
        painter_.end();
}
