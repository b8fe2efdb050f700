#include "catalogue/operator_reader.hpp"

#include "core/checked_arithmetic.hpp"
#include "core/number_readers.hpp"
#include "core/run_errors.hpp"

#include <optional>
#include <string_view>

namespace {

constexpr char kCorruptBlock[] = "Systemfehler. Raumgruppen-Info korrupt.";
constexpr char kEmptyBlock[] = "Systemfehler. Keine Symmetrien gefunden.";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Columns 1-3 as a whole number: leading blanks, an optional sign, then digits
// up to the end of the three columns. Anything else (a note, a System line, a
// header, a marker, a blank line) is no number and so ends the block.
std::optional<std::int32_t> OperatorNumber(std::string_view line)
{
    const std::string_view field = line.substr(0, 3);
    std::size_t pos = 0;
    while (pos < field.size() && field[pos] == ' ')
        ++pos;
    bool negative = false;
    if (pos < field.size() && (field[pos] == '+' || field[pos] == '-')) {
        negative = field[pos] == '-';
        ++pos;
    }
    if (pos == field.size())
        return std::nullopt;
    std::int32_t value = 0;
    for (; pos < field.size(); ++pos) {
        if (!IsDigit(field[pos]))
            return std::nullopt;
        value = value * 10 + (field[pos] - '0');
    }
    return negative ? -value : value;
}

// A field that the line does not reach comes out short or empty and then fails
// the conversion like any other text that is no number.
float Field(std::string_view line, std::size_t column, std::size_t width)
{
    const std::size_t position = column - 1;
    const std::string_view text = position < line.size() ? line.substr(position, width) : std::string_view();
    return ReadSingle(text);
}

}  // namespace

void ReadOperators(const LineStore& table, const GroupLineTable& groupLine, std::int32_t selectedGroup,
                   OperatorTable& operators)
{
    operators.OperatorCount = 0;
    CheckIndex(selectedGroup, kGroupLineSlots);
    // The line between the header and the first operator is the column header.
    std::int32_t lineIndex = CheckedAdd(groupLine[static_cast<std::size_t>(selectedGroup)], 2);

    for (std::int32_t k = 1; k <= kMaxOperators; ++k) {
        // A block that runs off either end of the table ends there, as if the
        // next line held no operator number.
        if (lineIndex < 0 || static_cast<std::size_t>(lineIndex) >= table.size())
            break;
        const std::string_view line = table[static_cast<std::size_t>(lineIndex)];
        const std::optional<std::int32_t> number = OperatorNumber(line);
        if (!number)
            break;
        if (*number != k)
            throw RunMessage(kCorruptBlock);
        // Counted before the fields are read, so that a failed conversion
        // leaves the count including the line that failed.
        operators.OperatorCount = k;
        SymmetryOperator& op = operators.Operators[static_cast<std::size_t>(k - 1)];
        op.Translation[0] = Field(line, 6, 5);
        op.Matrix[0][0] = Field(line, 11, 4);
        op.Matrix[0][1] = Field(line, 15, 4);
        op.Matrix[0][2] = Field(line, 19, 4);
        op.Translation[1] = Field(line, 27, 5);
        op.Matrix[1][0] = Field(line, 32, 4);
        op.Matrix[1][1] = Field(line, 36, 4);
        op.Matrix[1][2] = Field(line, 40, 4);
        op.Translation[2] = Field(line, 48, 5);
        op.Matrix[2][0] = Field(line, 53, 4);
        op.Matrix[2][1] = Field(line, 57, 4);
        op.Matrix[2][2] = Field(line, 61, 4);
        ++lineIndex;
    }

    if (operators.OperatorCount < 1)
        throw RunMessage(kEmptyBlock);
}
