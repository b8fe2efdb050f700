#include "core/number_readers.hpp"
#include "core/run_errors.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace {

struct RealCase {
    const char* text;
    bool valid;
    long double value;
};

TEST(ReadReal, AcceptsBlanksSignsAndExponentsAndRejectsEverythingElse)
{
    const RealCase cases[] = {
        {"0.4", true, 0.4L},     {" 0.4 ", true, 0.4L},  {"-0.4", true, -0.4L}, {"+2", true, 2.0L},
        {"1e3", true, 1000.0L},  {"2.5E-1", true, 0.25L}, {".5", true, 0.5L},    {"5.", true, 5.0L},
        {"0,4", false, 0},       {"", false, 0},          {"   ", false, 0},      {"abc", false, 0},
        {"12abc", false, 0},     {".", false, 0},         {"1e", false, 0},      {"1e+", false, 0},
        {"--1", false, 0},       {"1.2.3", false, 0},     {"0x10", false, 0},    {"1 000", false, 0},
    };
    for (const RealCase& c : cases) {
        SCOPED_TRACE(std::string("text '") + c.text + "'");
        if (c.valid) {
            EXPECT_EQ(ReadReal(c.text), c.value);
        } else {
            try {
                ReadReal(c.text);
                ADD_FAILURE() << "accepted";
            } catch (const RunTimeError& e) {
                EXPECT_EQ(std::string(e.what()), std::string("'") + c.text + "' ist kein gültiger Gleitkommawert");
            }
        }
    }
}

TEST(ReadReal, IgnoresTheRegionalDecimalSeparator)
{
    // A German locale writes decimals with a comma; the program never does.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale on this machine";
    EXPECT_EQ(ReadReal("0.4"), 0.4L);
    EXPECT_THROW(ReadReal("0,4"), RunTimeError);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ReadSingle, ReportsOverflowBeyondSinglePrecision)
{
    EXPECT_EQ(ReadSingle("3e38"), 3e38f);
    for (const char* text : {"1e39", "-1e39", "1e5000"}) {
        SCOPED_TRACE(text);
        try {
            ReadSingle(text);
            ADD_FAILURE() << "accepted";
        } catch (const RunTimeError& e) {
            EXPECT_STREQ(e.what(), "Gleitkommaüberlauf");
        }
    }
}

TEST(ReadCellNumber, FollowsTheCellFormat)
{
    const RealCase cases[] = {
        {"900", true, 900.0L},  {" 900", true, 900.0L}, {"1e3", true, 1000.0L}, {"90.0", true, 90.0L},
        {".", true, 0.0L},      {"-.", true, 0.0L},     {"+5", true, 5.0L},     {"-1.5e-2", true, -0.015L},
        {"900 ", false, 0},     {"", false, 0},         {"  ", false, 0},       {"90,0", false, 0},
        {"-", false, 0},        {"1e", false, 0},       {"1..0", false, 0},     {"abc", false, 0},
    };
    for (const RealCase& c : cases) {
        SCOPED_TRACE(std::string("text '") + c.text + "'");
        long double value = -1;
        EXPECT_EQ(ReadCellNumber(c.text, value), c.valid);
        if (c.valid) {
            EXPECT_EQ(value, c.value);
        }
    }
}

TEST(ReadWholeNumber, NeverFailsAndKeepsItsQuirks)
{
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"1", 1},          {"1000", 1000},         {"  42", 42},          {"+5", 5},
        {"-7", -7},        {"-7x", 7},             {"12abc", 12},         {"abc", 0},
        {"", 0},           {"-", 0},               {"12 ", 12},           {"$A", 10},
        {"0x1f", 31},      {"X10", 16},            {"$FFFFFFFF", -1},     {"$123456789", 0x12345678},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"2147483648", 214748364},  // stops before the digit that would leave the range
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("text '") + c.text + "'");
        EXPECT_EQ(ReadWholeNumber(c.text), c.value);
    }
}

}  // namespace
