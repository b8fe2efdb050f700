// The structure-number reader on arbitrary text: it never fails, and a text
// that is nothing but a decimal number within the 32-bit range gives exactly
// that number.
#include "core/number_readers.hpp"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::int32_t number = ReadWholeNumber(text);

    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) {
        if (number != 0)
            std::abort();  // blanks only: no digit read
        return 0;
    }
    // One optional sign, then nothing but digits.
    std::string digits = text.substr(start);
    const bool negative = digits[0] == '-';
    if (digits[0] == '+' || digits[0] == '-')
        digits.erase(0, 1);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    if (negative)
        digits = '-' + digits;
    std::int32_t expected = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), expected);
    if (error == std::errc() && end == digits.data() + digits.size() && number != expected)
        std::abort();
    return 0;
}
