#include "core/number_readers.hpp"

#include "core/checked_arithmetic.hpp"
#include "core/run_errors.hpp"

#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Converts text already checked to be "[sign]digits[.digits][e[sign]digits]"
// independently of the process locale.
long double ConvertChecked(const std::string& text)
{
    static const locale_t kClassic = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    return strtold_l(text.c_str(), nullptr, kClassic);
}

// Scans an optional exponent at pos; returns false if one is started but has no digit.
bool ScanExponent(std::string_view text, std::size_t& pos)
{
    if (pos >= text.size() || (text[pos] != 'e' && text[pos] != 'E'))
        return true;
    std::size_t p = pos + 1;
    if (p < text.size() && (text[p] == '+' || text[p] == '-'))
        ++p;
    if (p >= text.size() || !IsDigit(text[p]))
        return false;
    while (p < text.size() && IsDigit(text[p]))
        ++p;
    pos = p;
    return true;
}

// Scans digits with at most one "."; returns the number of digits seen.
std::size_t ScanMantissa(std::string_view text, std::size_t& pos)
{
    std::size_t digits = 0;
    bool point = false;
    while (pos < text.size()) {
        if (IsDigit(text[pos]))
            ++digits;
        else if (text[pos] == '.' && !point)
            point = true;
        else
            break;
        ++pos;
    }
    return digits;
}

}  // namespace

long double ReadReal(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    const std::size_t start = pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        ++pos;
    const std::size_t digits = ScanMantissa(text, pos);
    bool valid = digits > 0 && ScanExponent(text, pos);
    const std::size_t end = pos;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    valid = valid && pos == text.size();
    if (!valid)
        throw RunTimeError(error_text::NotAFloat(std::string(text)));
    return ConvertChecked(std::string(text.substr(start, end - start)));
}

float ReadSingle(std::string_view text)
{
    return StoreSingle(ReadReal(text));
}

bool ReadCellNumber(std::string_view text, long double& value)
{
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    if (pos == text.size())
        return false;
    const std::size_t start = pos;
    bool negative = false;
    if (text[pos] == '+' || text[pos] == '-') {
        negative = text[pos] == '-';
        ++pos;
        if (pos == text.size())
            return false;
    }
    const std::size_t digits = ScanMantissa(text, pos);
    if (!ScanExponent(text, pos) || pos != text.size())
        return false;
    if (digits == 0) {
        value = negative ? -0.0L : 0.0L;
        return true;
    }
    value = ConvertChecked(std::string(text.substr(start)));
    return true;
}

std::int32_t ReadWholeNumber(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;

    bool hex = false;
    if (pos < text.size() && (text[pos] == '$' || text[pos] == 'x' || text[pos] == 'X')) {
        hex = true;
        ++pos;
    } else if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        hex = true;
        pos += 2;
    }

    if (hex) {
        std::uint32_t pattern = 0;
        for (int count = 0; pos < text.size() && count < 8; ++count, ++pos) {
            const char c = text[pos];
            int digit;
            if (IsDigit(c))
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                break;
            pattern = pattern * 16u + static_cast<std::uint32_t>(digit);
        }
        // A hexadecimal number is a bit pattern, so it has no sign to drop.
        return static_cast<std::int32_t>(pattern);
    }

    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // Reading stops before a digit that would leave the signed 32-bit range.
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    std::uint64_t magnitude = 0;
    std::size_t digits = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        const std::uint64_t next = magnitude * 10 + static_cast<std::uint64_t>(text[pos] - '0');
        if (next > limit)
            break;
        magnitude = next;
        ++digits;
        ++pos;
    }
    const bool whole = digits > 0 && pos == text.size();
    if (whole)
        return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                        : static_cast<std::int32_t>(magnitude);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
}
