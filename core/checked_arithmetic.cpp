#include "core/checked_arithmetic.hpp"

#include "core/run_errors.hpp"

#include <cmath>
#include <limits>

float StoreSingle(long double value)
{
    if (std::isnan(value))
        throw RunTimeError(error_text::kInvalidFloatOperation);
    const float stored = static_cast<float>(value);
    if (std::isinf(stored))
        throw RunTimeError(error_text::kFloatOverflow);
    return stored;
}

long double CheckedDivide(long double numerator, long double divisor)
{
    if (divisor == 0.0L)
        throw RunTimeError(error_text::kFloatDivisionByZero);
    return numerator / divisor;
}

std::int32_t RoundToInt32(long double value)
{
    // 2^63 is exact in extended precision; anything at or beyond it cannot be
    // converted to a 64-bit integer at all.
    constexpr long double kTwo63 = 9223372036854775808.0L;
    if (std::isnan(value) || value >= kTwo63 || value < -kTwo63)
        throw RunTimeError(error_text::kInvalidFloatOperation);
    const long double rounded = std::nearbyint(value);  // default mode: halves to even
    if (rounded >= kTwo63)
        throw RunTimeError(error_text::kInvalidFloatOperation);
    return NarrowToInt32(static_cast<std::int64_t>(rounded));
}

std::int32_t NarrowToInt32(std::int64_t value)
{
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        throw RunTimeError(error_text::kRangeCheck);
    return static_cast<std::int32_t>(value);
}

std::int32_t CheckedAdd(std::int32_t a, std::int32_t b)
{
    std::int32_t result;
    if (__builtin_add_overflow(a, b, &result))
        throw RunTimeError(error_text::kIntegerOverflow);
    return result;
}

std::int32_t CheckedSubtract(std::int32_t a, std::int32_t b)
{
    std::int32_t result;
    if (__builtin_sub_overflow(a, b, &result))
        throw RunTimeError(error_text::kIntegerOverflow);
    return result;
}

std::int32_t CheckedMultiply(std::int32_t a, std::int32_t b)
{
    std::int32_t result;
    if (__builtin_mul_overflow(a, b, &result))
        throw RunTimeError(error_text::kIntegerOverflow);
    return result;
}

void CheckIndex(std::int64_t index, std::int64_t size)
{
    if (index < 0 || index >= size)
        throw RunTimeError(error_text::kRangeCheck);
}
