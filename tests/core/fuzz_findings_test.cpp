// Texts the fuzzers of tests/fuzz fed the three number readers that the
// hand-written tables had not thought of: bytes that are not blanks, digits
// or signs in odd places, and the places where the readers differ on purpose.
#include "core/number_readers.hpp"
#include "core/run_errors.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using namespace std::string_literals;

TEST(FuzzFindings, RealReaderRefusesWhatIsNotItsBlankDigitSignOrExponent)
{
    // Only " " counts as a blank; a NUL, a tab, a line feed, a no-break space
    // or a digit from another script is a character the number cannot hold.
    const std::string texts[] = {
        "-1\0\0e-3"s, "0.4\0"s, "\0000.4"s, "\t0.4", "0.4\n", "0.4\r", "0.4\xc2\xa0", "\xd9\xa4",
        "\xef\xbc\x99\xef\xbc\x90", "e5", "E-3", "+e5", ".e5", "1e5.0", "1e+-5", "--.5", "+-1", "0x1p3",
        "nan", "inf", "-infinity", "1_000", "\xff",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(testing::PrintToString(text));
        try {
            ReadReal(text);
            ADD_FAILURE() << "read as a number";
        } catch (const RunTimeError& error) {
            // The message names the text as typed, as far as a C string can:
            // up to a NUL, which no edit lets a user type anyway.
            EXPECT_EQ(std::string(error.what()), error_text::NotAFloat(text).c_str());
        }
    }
}

TEST(FuzzFindings, CellReaderTakesAnExponentWithoutMantissaDigitsAsZero)
{
    // The cell format lets the mantissa lack digits ("." is 0), and that holds
    // with an exponent after it too, where the limit's reader refuses.
    struct Case {
        std::string text;
        bool accepted;
        long double value;
    };
    const Case cases[] = {
        {"e5", true, 0.0L},   {"-e5", true, -0.0L},  {".E-3", true, 0.0L}, {"  e0", true, 0.0L},
        {"e", false, 0},      {"e+", false, 0},      {"+e", false, 0},     {"e5 ", false, 0},
        {"5e5e5", false, 0},  {"\t900", false, 0},   {"9\0" "00"s, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        long double value = 12345;
        ASSERT_EQ(ReadCellNumber(c.text, value), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(value, c.value);
            EXPECT_EQ(std::signbit(value), std::signbit(c.value));
        }
    }
    EXPECT_THROW(ReadReal("e5"), RunTimeError);
}

TEST(FuzzFindings, WholeNumberReaderStopsAtASecondSignOrAForeignByte)
{
    struct Case {
        std::string text;
        std::int32_t number;
    };
    const Case cases[] = {
        {"+-2", 0},          {"-+2", 0},        {"--2", 0},           {"- 2", 0},
        {"12\0" "34"s, 12},  {"\t7", 0},        {"7\xc2\xa0", 7},     {"\xd9\xa4", 0},
        {"$", 0},            {"0x", 0},         {"$-1", 0},           {"x+1", 0},
        {"$fffffffff", -1},  {"0X80000000", -2147483647 - 1},         {"-0", 0},
        {"00000000000000000000000000000042", 42},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(ReadWholeNumber(c.text), c.number);
    }
}

}  // namespace
