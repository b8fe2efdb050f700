#pragma once
// Checked arithmetic for the run: every real value that is stored is single
// precision, every intermediate is extended precision (long double), and every
// integer result must fit a signed 32-bit integer. A failed check throws the
// RunTimeError whose text the user then sees.

#include <cstdint>

// Rounds an extended value to the nearest single (ties to even).
// Too large for single: "Gleitkommaüberlauf"; not a number: "Ungültige Gleitkommaoperation".
float StoreSingle(long double value);

// numerator / divisor in extended precision; a zero divisor (of either sign)
// raises "Gleitkommadivision durch Null".
long double CheckedDivide(long double numerator, long double divisor);

// Nearest integer with halves to even.
// Beyond the signed 64-bit range or not a number: "Ungültige Gleitkommaoperation";
// beyond the signed 32-bit range: "Fehler bei Bereichsprüfung".
std::int32_t RoundToInt32(long double value);

// Narrows a 64-bit integer; outside the 32-bit range: "Fehler bei Bereichsprüfung".
std::int32_t NarrowToInt32(std::int64_t value);

// 32-bit integer arithmetic; overflow raises "Integerüberlauf".
std::int32_t CheckedAdd(std::int32_t a, std::int32_t b);
std::int32_t CheckedSubtract(std::int32_t a, std::int32_t b);
std::int32_t CheckedMultiply(std::int32_t a, std::int32_t b);

// Array bound check: index must lie in [0, size); else "Fehler bei Bereichsprüfung".
void CheckIndex(std::int64_t index, std::int64_t size);
