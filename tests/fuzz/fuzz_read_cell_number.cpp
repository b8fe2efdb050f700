// The lattice cells' reader on arbitrary text: it accepts or refuses, and an
// accepted text gives a number (an infinity for one beyond extended range),
// never NaN; reading is the same however often it is done.
#include "core/number_readers.hpp"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    long double first = 0, second = 0;
    const bool accepted = ReadCellNumber(text, first);
    if (accepted != ReadCellNumber(text, second))
        std::abort();
    if (accepted && (std::isnan(first) || !(first == second || std::isnan(second))))
        std::abort();
    // Blanks after the number are refused, blanks before it are not.
    if (accepted && !text.empty() && text.back() == ' ')
        std::abort();
    long double padded = 0;
    if (accepted && (!ReadCellNumber(" " + text, padded) || padded != first))
        std::abort();
    return 0;
}
