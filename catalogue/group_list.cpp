#include "catalogue/group_list.hpp"

#include "core/checked_arithmetic.hpp"

#include <string_view>

namespace {

constexpr std::string_view kSystemMark = "System";
constexpr std::string_view kHeaderMark = " Symmetries";

// A line shorter than the mark never matches, so a stray short line cannot be
// taken for a header.
bool StartsWith(const std::string& line, std::string_view mark)
{
    return line.size() >= mark.size() && std::string_view(line).substr(0, mark.size()) == mark;
}

// Up to count characters from the 0-based position, fewer where the line ends.
std::string_view Columns(const std::string& line, std::size_t position, std::size_t count)
{
    if (position >= line.size())
        return {};
    return std::string_view(line).substr(position, count);
}

void PadRight(std::string& out, std::string_view text, std::size_t width)
{
    out += text;
    if (text.size() < width)
        out.append(width - text.size(), ' ');
}

void PadLeft(std::string& out, std::string_view text, std::size_t width)
{
    if (text.size() < width)
        out.append(width - text.size(), ' ');
    out += text;
}

}  // namespace

void BuildGroupList(const LineStore& table,
                    const std::function<void(const std::string& item)>& appendItem,
                    GroupLineTable& groupLine)
{
    std::int32_t entry = -1;
    std::string systemName;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::string& line = table[i];
        if (StartsWith(line, kSystemMark))
            systemName = std::string(Columns(line, 7, 22));
        if (StartsWith(line, kHeaderMark)) {
            // "%-14s%5s %-8s"; the columns of this text are read again when
            // the run derives the crystal system and labels the picture.
            std::string item;
            PadRight(item, systemName, 14);
            PadLeft(item, Columns(line, 21, 5), 5);
            item += ' ';
            PadRight(item, Columns(line, 28, 8), 8);
            appendItem(item);
            entry = CheckedAdd(entry, 1);
            CheckIndex(entry, kGroupLineSlots);
            groupLine[static_cast<std::size_t>(entry)] = NarrowToInt32(static_cast<std::int64_t>(i));
        }
    }
}
