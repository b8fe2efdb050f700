#include "core/checked_arithmetic.hpp"
#include "core/run_errors.hpp"

#include <gtest/gtest.h>

#include <cfloat>
#include <functional>
#include <limits>
#include <string>

namespace {

std::string ErrorOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const RunTimeError& e) {
        return e.what();
    }
    return "";
}

TEST(RoundToInt32, RoundsHalvesToEven)
{
    const struct {
        long double value;
        std::int32_t rounded;
    } cases[] = {{0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {-0.5L, 0}, {-1.5L, -2}, {2.4999L, 2}, {-2.6L, -3},
                 {2147483647.4L, 2147483647}, {-2147483648.5L, -2147483647 - 1}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundToInt32(c.value), c.rounded) << static_cast<double>(c.value);
}

TEST(CheckedArithmetic, RaisesTheRunTimeErrorOfEachFault)
{
    const struct {
        const char* what;
        std::function<void()> operation;
        const char* error;
    } cases[] = {
        {"int32 overflow on rounding", [] { RoundToInt32(2147483647.5L); }, "Fehler bei Bereichsprüfung"},
        {"beyond int64", [] { RoundToInt32(1e19L); }, "Ungültige Gleitkommaoperation"},
        {"below int64", [] { RoundToInt32(-1e19L); }, "Ungültige Gleitkommaoperation"},
        {"not a number", [] { RoundToInt32(std::numeric_limits<long double>::quiet_NaN()); },
         "Ungültige Gleitkommaoperation"},
        {"single overflow", [] { StoreSingle(1e39L); }, "Gleitkommaüberlauf"},
        {"negative single overflow", [] { StoreSingle(-3.5e38L); }, "Gleitkommaüberlauf"},
        {"division by zero", [] { CheckedDivide(1.0L, 0.0L); }, "Gleitkommadivision durch Null"},
        {"division by minus zero", [] { CheckedDivide(1.0L, -0.0L); }, "Gleitkommadivision durch Null"},
        {"add", [] { CheckedAdd(2147483647, 1); }, "Integerüberlauf"},
        {"subtract", [] { CheckedSubtract(-2147483647 - 1, 1); }, "Integerüberlauf"},
        {"multiply", [] { CheckedMultiply(65536, 32768); }, "Integerüberlauf"},
        {"narrow", [] { NarrowToInt32(2147483648LL); }, "Fehler bei Bereichsprüfung"},
        {"index", [] { CheckIndex(301, 301); }, "Fehler bei Bereichsprüfung"},
        {"negative index", [] { CheckIndex(-1, 301); }, "Fehler bei Bereichsprüfung"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf(c.operation), c.error) << c.what;
}

TEST(CheckedArithmetic, PassesValuesAtTheEdgesOfTheirRanges)
{
    EXPECT_EQ(StoreSingle(static_cast<long double>(FLT_MAX)), FLT_MAX);
    EXPECT_EQ(StoreSingle(0.1L), 0.1f);
    EXPECT_EQ(CheckedAdd(2147483646, 1), 2147483647);
    EXPECT_EQ(NarrowToInt32(-2147483648LL), -2147483647 - 1);
    EXPECT_NO_THROW(CheckIndex(300, 301));
}

TEST(ErrorReportText, AddsAFullStopOnlyWhereMissing)
{
    EXPECT_EQ(ErrorReportText("Gleitkommadivision durch Null"), "Gleitkommadivision durch Null.");
    EXPECT_EQ(ErrorReportText("schon da."), "schon da.");
}

}  // namespace
