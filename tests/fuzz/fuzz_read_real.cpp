// The limit edit's real-number reader on arbitrary text: it returns a number
// or throws its conversion error naming the text, and nothing else. Where the
// lattice cells' reader accepts the same text with a digit in it, both readers
// agree on the value.
#include "core/number_readers.hpp"
#include "core/run_errors.hpp"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    long double value = 0;
    bool read = false;
    try {
        value = ReadReal(text);
        read = true;
    } catch (const RunTimeError& error) {
        // what() ends at a NUL in the text, and so does the message shown.
        if (std::string(error.what()) != error_text::NotAFloat(text).c_str())
            std::abort();
    }
    if (read && std::isnan(value))
        std::abort();

    long double cell = 0;
    const std::size_t exponent = text.find_first_of("eE");
    const bool hasDigit = text.find_first_of("0123456789") < exponent;
    if (ReadCellNumber(text, cell) && hasDigit) {
        // The cell reader takes no trailing blanks, so every text it reads with
        // a digit is one the real reader reads too.
        if (!read)
            std::abort();
        if (value != cell)
            std::abort();
    }
    if (read) {
        try {
            (void)ReadSingle(text);
        } catch (const RunTimeError&) {
            // Too large for single precision: the overflow error, as intended.
        }
    }
    return 0;
}
