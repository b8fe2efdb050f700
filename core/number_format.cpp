#include "core/number_format.hpp"

#include <charconv>

std::string FormatFixed(float value, int width, int decimals)
{
    // The widest single, -3.4e38, takes 40 characters before the decimals.
    char digits[64];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    std::string text(digits, result.ptr);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}
