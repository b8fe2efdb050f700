#include "render/draw_annotation.hpp"

#include "core/checked_arithmetic.hpp"
#include "core/number_format.hpp"
#include "render/picture_geometry.hpp"

#include <cstddef>

namespace {

// Characters first to first + count − 1 (1-based) of a UTF-8 text, as many as
// there are.
std::string Characters(const std::string& text, std::size_t first, std::size_t count)
{
    std::size_t character = 0;
    std::size_t begin = text.size(), end = text.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;  // continuation byte
        ++character;
        if (character == first)
            begin = i;
        if (character == first + count) {
            end = i;
            break;
        }
    }
    return begin < end ? text.substr(begin, end - begin) : std::string();
}

}  // namespace

std::string ReciprocalCellLine(const ReciprocalParameters& r)
{
    return "a*=" + FormatFixed(r.AStar, 7, 5) + ", b* =" + FormatFixed(r.BStar, 7, 5) + ", c*=" + FormatFixed(r.CStar, 7, 5) +
           "    Alpha*=" + FormatFixed(r.AlphaStar, 5, 1) + "°, Beta*=" + FormatFixed(r.BetaStar, 5, 1) +
           "°, Gamma*=" + FormatFixed(r.GammaStar, 5, 1) + "°";
}

std::string DirectCellLine(const LatticeParameters& l)
{
    return "a =" + FormatFixed(l.A, 6, 1) + "pm, b =" + FormatFixed(l.B, 6, 1) + "pm, c =" + FormatFixed(l.C, 6, 1) +
           "pm  Alpha =" + FormatFixed(l.Alpha, 5, 1) + "°, Beta =" + FormatFixed(l.Beta, 5, 1) + "°, Gamma =" +
           FormatFixed(l.Gamma, 5, 1) + "°";
}

std::string SystemLine(const std::string& groupItem, std::int32_t structureNumber)
{
    return Characters(groupItem, 1, 14) + "   Struktur Nr. " + std::to_string(structureNumber);
}

std::string SpaceGroupLine(const std::string& groupItem)
{
    return "Raumgruppe " + Characters(groupItem, 15, 16);
}

void DrawAnnotation(const RunSettings& settings, const ReciprocalParameters& reciprocal,
                    const LatticeParameters& lattice, const PanelLayout& layout, const std::string& groupItem,
                    const std::string& freeText, Canvas& canvas)
{
    const std::int32_t factor = settings.ResolutionFactor;
    canvas.setFontName("Arial");
    canvas.setFontSize(CheckedMultiply(14, factor));
    const std::int32_t lineHeight = canvas.textHeight("Z");
    const std::int32_t x = CheckedMultiply(20, factor);
    // Offset counts from the bottom edge up to the top of the next line, so
    // the block grows upward from 40 × RF pixels above the limit circles.
    const float radius = LimitRadius(settings, layout);
    std::int32_t offset = CheckedAdd(RoundToInt32(static_cast<long double>(layout.Centre1Y) + radius),
                                     CheckedMultiply(40, factor));
    auto line = [&](const std::string& text) {
        canvas.textOut(x, CheckedSubtract(settings.PictureHeight, offset), text);
    };

    if (!settings.ExerciseMode) {
        line(ReciprocalCellLine(reciprocal));
        offset = CheckedAdd(offset, lineHeight);
        line(DirectCellLine(lattice));
        offset = CheckedAdd(offset, lineHeight);
        line(SystemLine(groupItem, settings.StructureNumber));
        offset = CheckedAdd(offset, lineHeight);
        line(SpaceGroupLine(groupItem));
    }
    offset = CheckedAdd(offset, lineHeight);
    line(freeText);

    // The sign's width is taken in Symbol, the text's in Arial, and the line's
    // top from the Symbol cell, so the sign sits on the bottom edge and the
    // text ends at the right edge.
    canvas.setFontName("Symbol");
    canvas.setFontSize(CheckedMultiply(9, factor));
    const std::int32_t signWidth = canvas.textWidth(kCreditSign);
    canvas.setFontName("Arial");
    const std::int32_t textWidth = canvas.textWidth(kCreditText);
    canvas.setFontName("Symbol");
    const std::int32_t top = CheckedSubtract(settings.PictureHeight, canvas.textHeight(kCreditText));
    canvas.textOut(CheckedSubtract(settings.PictureWidth, CheckedAdd(signWidth, textWidth)), top, kCreditSign);
    canvas.setFontName("Arial");
    canvas.textOut(canvas.penPosition().x(), canvas.penPosition().y(), kCreditText);
}
