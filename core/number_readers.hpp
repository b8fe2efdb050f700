#pragma once
// The program's three readers of numbers typed as text. All of them use "." as
// the decimal separator whatever the user's regional settings say.

#include <cstdint>
#include <string_view>

// The real-number reader of the limit edit and of the operator fields: blanks
// before and after, an optional sign, digits with at most one ".", at least one
// digit, an optional exponent ("E"/"e", optional sign, digits). Anything else,
// the empty text included, throws the RunTimeError
// "'<text>' ist kein gültiger Gleitkommawert". A number beyond the range of
// extended precision comes back as an infinity, which StoreSingle reports.
long double ReadReal(std::string_view text);

// ReadReal, then stored in single precision with StoreSingle.
float ReadSingle(std::string_view text);

// The cell reader of the lattice grid: leading blanks, an optional sign that
// must be followed by something, a mantissa of digits with at most one "."
// (no digits at all reads as 0, so "." is 0), an optional exponent, and nothing
// after, not even a blank. Returns false for a text that breaks this.
bool ReadCellNumber(std::string_view text, long double& value);

// The whole-number reader of the structure-number edit. It never fails:
// leading blanks are skipped; then either an optional sign and decimal digits,
// or a hexadecimal pattern of up to eight digits after "$", "x", "X", "0x" or
// "0X". When the whole text is such a number (a decimal one within the 32-bit
// range) that number is the result; otherwise reading stops at the first
// character it cannot use and the result is the digits read so far, without
// their sign, or 0 when none was read.
std::int32_t ReadWholeNumber(std::string_view text);
