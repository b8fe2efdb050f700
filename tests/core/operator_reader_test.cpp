// ReadOperators on the built-in table and on damaged blocks.

#include "catalogue/operator_reader.hpp"
#include "built_in_groups.hpp"
#include "core/run_errors.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const std::string kHeader = " Symmetries: (Spg No   302  P121    )";
const std::string kColumnHeader = " Nr ---------X---------  ---------Y---------  ---------Z---------";
// Columns 4 to 64 of an identity line.
const std::string kIdentityFields = "  0.000 1.0 0.0 0.0    0.000 0.0 1.0 0.0    0.000 0.0 0.0 1.0";
const char kCorrupt[] = "Systemfehler. Raumgruppen-Info korrupt.";
const char kNoOperators[] = "Systemfehler. Keine Symmetrien gefunden.";

std::string Identity(int number)
{
    char field[8];
    std::snprintf(field, sizeof field, "%3d", number);
    return field + kIdentityFields;
}

// One entry: its header and column header, then the given lines.
LineStore Entry(const std::vector<std::string>& lines)
{
    LineStore table = {"System monoklin", kHeader, kColumnHeader};
    table.insert(table.end(), lines.begin(), lines.end());
    return table;
}

struct Outcome {
    std::string message;  // RunMessage text, or the RunTimeError text; empty on success
    std::int32_t count = -1;
};

Outcome Read(const LineStore& table, OperatorTable& operators, std::int32_t selected = 0)
{
    GroupLineTable groupLine{};
    BuildGroupList(table, [](const std::string&) {}, groupLine);
    // A count left over from an earlier run must not survive the reading.
    operators.OperatorCount = 77;
    Outcome outcome;
    try {
        ReadOperators(table, groupLine, selected, operators);
    } catch (const RunMessage& message) {
        outcome.message = message.what();
    } catch (const RunTimeError& error) {
        outcome.message = error.what();
    }
    outcome.count = operators.OperatorCount;
    return outcome;
}

Outcome Read(const LineStore& table)
{
    OperatorTable operators;
    return Read(table, operators);
}

// The group-list index of the entry with this number field ("  302").
std::int32_t ItemOf(const std::string& numberField)
{
    const std::vector<std::string>& items = BuiltInList().items;
    for (std::size_t k = 0; k < items.size(); ++k)
        if (items[k].substr(14, 5) == numberField)
            return static_cast<std::int32_t>(k);
    ADD_FAILURE() << "no entry " << numberField;
    return 0;
}

OperatorTable ReadBuiltIn(const std::string& numberField)
{
    OperatorTable operators;
    ReadOperators(SpaceGroupTable(), BuiltInList().groupLine, ItemOf(numberField), operators);
    return operators;
}

using Rows = std::array<std::array<float, 3>, 3>;
constexpr Rows kIdentityRows = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

}  // namespace

TEST(ReadOperators, BuiltInEntries)
{
    {
        SCOPED_TRACE("302 P121");
        const OperatorTable ops = ReadBuiltIn("  302");
        EXPECT_EQ(ops.OperatorCount, 2);
        EXPECT_EQ(ops.Operators[1].Translation, (std::array<float, 3>{0, 0, 0}));
        EXPECT_EQ(ops.Operators[1].Matrix, (Rows{{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}}));
    }
    {
        SCOPED_TRACE("402 P1211");
        const OperatorTable ops = ReadBuiltIn("  402");
        EXPECT_EQ(ops.OperatorCount, 2);
        EXPECT_EQ(ops.Operators[1].Translation, (std::array<float, 3>{0, 0.5f, 0}));
    }
    {
        SCOPED_TRACE("14602 R3H");
        const OperatorTable ops = ReadBuiltIn("14602");
        EXPECT_EQ(ops.OperatorCount, 9);
        // The written decimals, not thirds.
        EXPECT_EQ(ops.Operators[3].Translation, (std::array<float, 3>{0.333f, 0.667f, 0.667f}));
        EXPECT_EQ(ops.Operators[3].Matrix, kIdentityRows);
        EXPECT_EQ(ops.Operators[0].Matrix, kIdentityRows);
    }
    {
        SCOPED_TRACE("22802 FD-3CZ");
        EXPECT_EQ(ReadBuiltIn("22802").OperatorCount, 192);
    }
    {
        SCOPED_TRACE("230 IA-3D");
        const std::int32_t item = ItemOf("  230");
        EXPECT_EQ(item, 227);
        EXPECT_EQ(ReadBuiltIn("  230").OperatorCount, 96);
        EXPECT_EQ(SpaceGroupTable().at(static_cast<std::size_t>(BuiltInList().groupLine[227]) + 2 + 96), ">end");
    }
}

TEST(ReadOperators, TakesTheTwelveFieldsFromTheirColumns)
{
    OperatorTable ops;
    const Outcome outcome =
        Read(Entry({"  1  0.125 1.0 2.0 3.0    0.250 4.0 5.0 6.0    0.375 7.0 8.0 9.0", "end"}), ops);
    ASSERT_EQ(outcome.message, "");
    EXPECT_EQ(outcome.count, 1);
    EXPECT_EQ(ops.Operators[0].Translation, (std::array<float, 3>{0.125f, 0.25f, 0.375f}));
    EXPECT_EQ(ops.Operators[0].Matrix, (Rows{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}}));
}

TEST(ReadOperators, BlockEndsOrFailsByItsOperatorNumbers)
{
    struct Case {
        const char* what;
        std::vector<std::string> lines;  // after the column header
        std::string message;
        std::int32_t count;
    };
    const Case cases[] = {
        {"ends at a note", {Identity(1), Identity(2), "SGSET0044 - *** Herm.-Maug. symbol P 21   4"}, "", 2},
        {"ends at the next header", {Identity(1), kHeader, kColumnHeader, Identity(1)}, "", 1},
        {"ends at a marker", {Identity(1), Identity(2), Identity(3), ">rg 229", ">os"}, "", 3},
        {"ends at a blank line", {Identity(1), ""}, "", 1},
        {"ends at three blanks", {Identity(1), "   " + kIdentityFields}, "", 1},
        {"ends at a comment", {Identity(1), ";" + Identity(2)}, "", 1},
        {"ends with the table", {Identity(1), Identity(2)}, "", 2},
        {"a sign before the digits is allowed", {" +1" + kIdentityFields, "+02" + kIdentityFields, ">end"}, "", 2},
        {"digits must reach column 3", {Identity(1), "2  " + kIdentityFields, ">end"}, "", 1},
        {"a gap", {Identity(1), Identity(2), Identity(4), ">end"}, kCorrupt, 2},
        {"a repeat", {Identity(1), Identity(2), Identity(2), ">end"}, kCorrupt, 2},
        {"a block starting at 2", {Identity(2), Identity(3), ">end"}, kCorrupt, 0},
        {"a negative number", {" -1" + kIdentityFields, ">end"}, kCorrupt, 0},
        {"a note right after the column header",
         {"SGSET0044 - *** Herm.-Maug. symbol P 21   4", Identity(1), ">end"}, kNoOperators, 0},
        {"a System line right after the column header", {"System orthorhombisch", ">end"}, kNoOperators, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome outcome = Read(Entry(c.lines));
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(outcome.count, c.count);
    }
}

TEST(ReadOperators, HeaderOnTheLastLinesFindsNoOperators)
{
    EXPECT_EQ(Read({kHeader}).message, kNoOperators);
    EXPECT_EQ(Read({kHeader, kColumnHeader}).message, kNoOperators);
}

TEST(ReadOperators, StopsAfterTheHundredAndNinetySecondOperator)
{
    std::vector<std::string> lines;
    for (int k = 1; k <= 192; ++k)
        lines.push_back(Identity(k));
    // Any look at this line would fail: its number and its first field.
    lines.push_back("193  0,500 1.0 0.0 0.0    0.000 0.0 1.0 0.0    0.000 0.0 0.0 1.0");
    lines.push_back(">end");
    const Outcome outcome = Read(Entry(lines));
    EXPECT_EQ(outcome.message, "");
    EXPECT_EQ(outcome.count, 192);
}

TEST(ReadOperators, FieldThatIsNoNumberFailsWithTheOperatorCounted)
{
    struct Case {
        const char* what;
        std::string line;  // operator 2
        std::string message;
    };
    const Case cases[] = {
        {"decimal comma in t1", "  2  0,500-1.0 0.0 0.0    0.000 0.0 1.0 0.0    0.000 0.0 0.0-1.0",
         "'0,500' ist kein gültiger Gleitkommawert"},
        {"decimal comma in M33, the last field", "  2  0.000-1.0 0.0 0.0    0.000 0.0 1.0 0.0    0.000 0.0 0.0-1,0",
         "'-1,0' ist kein gültiger Gleitkommawert"},
        {"line cut after the Y block", "  2  0.000-1.0 0.0 0.0    0.500 0.0 1.0 0.0",
         "'' ist kein gültiger Gleitkommawert"},
        {"blank field", "  2  0.000-1.0 0.0 0.0    0.500     1.0 0.0    0.000 0.0 0.0-1.0",
         "'    ' ist kein gültiger Gleitkommawert"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome outcome = Read(Entry({Identity(1), c.line, Identity(3), ">end"}));
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(outcome.count, 2);
    }
}

TEST(ReadOperators, SelectedGroupOutsideGroupLineIsARangeError)
{
    const LineStore table = Entry({Identity(1), ">end"});
    for (const std::int32_t selected : {-1, 301}) {
        SCOPED_TRACE(selected);
        OperatorTable operators;
        const Outcome outcome = Read(table, operators, selected);
        EXPECT_EQ(outcome.message, error_text::kRangeCheck);
        EXPECT_EQ(outcome.count, 0);
    }
}
