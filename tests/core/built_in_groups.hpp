#pragma once
// The group list of the built-in table, built once for all tests that look
// up entries by their item text or line.

#include "catalogue/group_list.hpp"
#include "catalogue/space_group_table.hpp"

#include <string>
#include <vector>

struct BuiltInGroups {
    std::vector<std::string> items;
    GroupLineTable groupLine{};
};

inline const BuiltInGroups& BuiltInList()
{
    static const BuiltInGroups list = [] {
        BuiltInGroups built;
        BuildGroupList(SpaceGroupTable(), [&](const std::string& item) { built.items.push_back(item); },
                       built.groupLine);
        return built;
    }();
    return list;
}
