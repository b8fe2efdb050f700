#include "catalogue/space_group_table.hpp"

#include <string_view>

extern const char kSpaceGroupTableText[];

const LineStore& SpaceGroupTable()
{
    static const LineStore lines = [] {
        LineStore result;
        std::string_view text(kSpaceGroupTableText);
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            result.emplace_back(text.substr(0, end));
            if (end == std::string_view::npos)
                break;
            text.remove_prefix(end + 1);
        }
        return result;
    }();
    return lines;
}
